#pragma once
// Text parts of index keys: the characters that take part in a key and the
// two General encodings.

#include <cstdint>
#include <string_view>
#include <vector>

namespace mdb::index_key {

// Jet indexes at most this many characters of a text value.
inline constexpr std::size_t kMaxKeyTextLength = 255;

// The UTF-16 units of `utf8` that a key holds: at most kMaxKeyTextLength,
// trailing blanks dropped. Throws platform::Failure for malformed UTF-8.
std::u16string KeyCharacters(std::string_view utf8);

// Appends the encoding of `text` (after the column's flag byte).
void AppendJet4GeneralText(std::u16string_view text, bool ascending,
                           std::vector<std::uint8_t>& out);
void AppendJet3GeneralText(std::u16string_view text, bool ascending,
                           std::vector<std::uint8_t>& out);

// Inverts out[from..] (descending columns).
void InvertFrom(std::vector<std::uint8_t>& out, std::size_t from);

}  // namespace mdb::index_key
