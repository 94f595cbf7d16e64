#pragma once
// Character codes of the text sort orders that index keys use: for each
// character, the bytes it puts inline in the key and the extra information
// (accents, hidden characters) that follows the inline part.

#include <cstdint>
#include <span>

namespace mdb::index_key {

// How a character contributes to a text key.
enum class CharKind : std::uint8_t {
  kIgnored,         // contributes nothing
  kPlain,           // inline bytes only
  kSignificant,     // inline bytes; Jet 3 counts it for accent placeholders
  kAccented,        // inline bytes plus an extra (accent) code
  kAccentedWide,    // as kAccented, plus a two-bit flag in the wide-flag block
  kHidden,          // no inline bytes; a positioned code in the hidden block
  kHiddenModifier,  // no inline bytes; added to the last extra code
};

struct CharCode {
  std::uint16_t ch;  // UTF-16 unit (Jet 4) or Windows-1252 byte (Jet 3)
  CharKind kind;
  std::uint8_t inline_length;  // 0..2 bytes, big-endian in inline_bytes
  std::uint16_t inline_bytes;
  std::uint8_t extra_length;  // 0..2 bytes, big-endian in extra_bytes
  std::uint16_t extra_bytes;
  std::uint8_t wide_flag;  // 2 or 3 for kAccentedWide, else 0
};

// A block of characters the table describes completely; characters of a
// block without a row are ignored ones.
struct CodeRange {
  std::uint16_t first;
  std::uint16_t last;
};

// Jet 4: rows sorted by character, covering the listed blocks.
struct CodeTable {
  std::span<const CharCode> codes;
  std::span<const CodeRange> ranges;
};

// A character beyond U+00FF and its Windows-1252 byte.
struct CodePageByte {
  std::uint16_t ch;
  std::uint8_t byte;
};

// Jet 3: 256 rows indexed by Windows-1252 byte, and the code page's
// characters beyond U+00FF.
struct CodePageTable {
  std::span<const CharCode> codes;
  std::span<const CodePageByte> bytes;
};

const CodeTable& Jet4GeneralCodes();
const CodePageTable& Jet3GeneralCodes();

}  // namespace mdb::index_key
