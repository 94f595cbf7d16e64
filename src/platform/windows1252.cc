#include "platform/windows1252.h"
#include "platform/utf8.h"

#include <array>
#include <cstdint>
#include <optional>

namespace platform {
namespace {

// Code points of the bytes 0x80-0x9F; the undefined ones map to themselves.
constexpr std::array<char32_t, 32> kHighControlRange = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

char32_t CodePointOf(unsigned char byte) {
  if (byte >= 0x80 && byte < 0xA0) return kHighControlRange[byte - 0x80];
  return byte;
}

std::optional<unsigned char> ByteOf(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<unsigned char>(cp);
  for (std::size_t i = 0; i < kHighControlRange.size(); ++i) {
    if (kHighControlRange[i] == cp) return static_cast<unsigned char>(0x80 + i);
  }
  return std::nullopt;
}

// One decoded UTF-8 sequence: its code point (nullopt when malformed) and its
// length in bytes (1 for a malformed byte, so that decoding always advances).
struct Decoded {
  std::optional<char32_t> code_point;
  std::size_t length = 1;
};

Decoded DecodeAt(std::string_view text, std::size_t pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  if (lead < 0x80) return {lead, 1};
  std::size_t length = 0;
  char32_t cp = 0;
  char32_t minimum = 0;
  if ((lead & 0xE0) == 0xC0) {
    length = 2, cp = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, cp = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, cp = lead & 0x07, minimum = 0x10000;
  } else {
    return {std::nullopt, 1};
  }
  if (pos + length > text.size()) return {std::nullopt, 1};
  for (std::size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[pos + i]);
    if ((next & 0xC0) != 0x80) return {std::nullopt, 1};
    cp = (cp << 6) | (next & 0x3F);
  }
  if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    return {std::nullopt, 1};
  }
  return {cp, length};
}

char32_t UpperCaseCodePoint(char32_t cp) {
  if (cp >= U'a' && cp <= U'z') return cp - 0x20;
  if (cp >= 0xE0 && cp <= 0xFE && cp != 0xF7) return cp - 0x20;
  switch (cp) {
    case 0x0161:
      return 0x0160;  // s caron
    case 0x017E:
      return 0x017D;  // z caron
    case 0x0153:
      return 0x0152;  // oe
    case 0x00FF:
      return 0x0178;  // y diaeresis
    default:
      return cp;
  }
}

}  // namespace

std::string Windows1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (char c : bytes) AppendUtf8(out, CodePointOf(static_cast<unsigned char>(c)));
  return out;
}

std::string Utf8ToWindows1252(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t pos = 0; pos < utf8.size();) {
    const Decoded d = DecodeAt(utf8, pos);
    pos += d.length;
    const auto byte = d.code_point ? ByteOf(*d.code_point) : std::nullopt;
    out += byte ? static_cast<char>(*byte) : '?';
  }
  return out;
}

char UpperCaseWindows1252(char byte) {
  const char32_t upper = UpperCaseCodePoint(CodePointOf(static_cast<unsigned char>(byte)));
  return static_cast<char>(*ByteOf(upper));
}

std::string UpperCase(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t pos = 0; pos < utf8.size();) {
    const Decoded d = DecodeAt(utf8, pos);
    if (d.code_point) {
      AppendUtf8(out, UpperCaseCodePoint(*d.code_point));
    } else {
      out.append(utf8.substr(pos, d.length));
    }
    pos += d.length;
  }
  return out;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return UpperCase(a) == UpperCase(b);
}

bool EqualsIgnoringCaseWindows1252(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (UpperCaseWindows1252(a[i]) != UpperCaseWindows1252(b[i])) return false;
  }
  return true;
}

}  // namespace platform
