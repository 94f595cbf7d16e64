#pragma once
// Profile (INI) files as byte buffers: splitting into lines, looking an entry
// up and editing one entry, with no file access. Names and values are
// Windows-1252 bytes here; the file layer converts.
//
// The rules, taken from how Windows reads profile files:
// - CR LF, LF and CR alone each end a line.
// - Blanks are space, tab, VT, FF and 0x1A; they are trimmed around names and
//   values. A NUL byte ends a name or value.
// - A line whose first non-blank byte is '[' and that holds a ']' after it is
//   a section line; the name runs to the last ']' and is trimmed. Text after
//   that ']' is ignored.
// - Every other non-blank line is an entry: the key is the text before the
//   first '=', the value the text after it. A line without '=' is a key with
//   no value (it reads as absent). There is no comment syntax: ";x=1" is a key.
// - Lines before the first section line belong to the section "".
// - Only the first copy of a repeated section is searched, and within it the
//   first copy of a repeated key wins.
// - Names match without regard to case over all Windows-1252 letters.
// - One pair of matching outer quotes ("..." or '...') is removed from a
//   trimmed value.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// One line of a profile file, as offsets into the buffer.
struct ProfileLine {
  enum class Kind { kBlank, kSection, kEntry };
  Kind kind = Kind::kBlank;
  std::size_t begin = 0;        // first byte of the line
  std::size_t content_end = 0;  // first byte of the line end (or end of buffer)
  std::size_t end = 0;          // first byte after the line end
  std::string_view name;        // section or key name, trimmed, up to a NUL
  // Entries with '=': the value as it stands, trimmed (quotes not removed).
  std::optional<std::size_t> equals;  // offset of the first '='
  std::size_t value_begin = 0;
  std::size_t value_end = 0;
};

std::vector<ProfileLine> SplitProfileLines(std::string_view bytes);

// Removes blanks (space, tab, VT, FF, 0x1A) at both ends.
std::string_view TrimProfileBlanks(std::string_view text);

// The value of an entry as a read returns it: trimmed, up to a NUL, outer
// quotes removed. Nullopt when the section or key is missing or the key has
// no '='. The requested names are trimmed before they are compared.
std::optional<std::string> LookUpProfileValue(std::string_view bytes, std::string_view section,
                                              std::string_view key);

// The buffer with one entry set to value (written as given). An existing key
// gets the new value in place of its old one, with every other byte kept; a
// missing key is added after the last line of its section; a missing section
// is added with the key at the end. New lines use the file's first line end
// (CR LF when it has none).
std::string EditProfileValue(std::string_view bytes, std::string_view section, std::string_view key,
                             std::string_view value);

// The decimal number at the start of a value: an optional sign and digits;
// 0 when there are none. Overflow when it does not fit in 32 bits.
struct ProfileInteger {
  std::int32_t value = 0;
  bool overflow = false;
  bool operator==(const ProfileInteger&) const = default;
};
ProfileInteger ParseProfileInteger(std::string_view value);

}  // namespace platform
