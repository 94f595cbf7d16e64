#include "mdb/index_key_text.h"

#include <string>

#include "platform/error.h"

namespace mdb::index_key {

namespace {

[[noreturn]] void ThrowBadText() {
  throw platform::Failure(platform::err::kInvalidArgument, "mdb.index_key",
                          "Text for an index key is not valid UTF-8.");
}

// Decodes one code point starting at utf8[pos], advancing pos.
char32_t NextCodePoint(std::string_view utf8, std::size_t& pos) {
  const auto lead = static_cast<unsigned char>(utf8[pos++]);
  if (lead < 0x80) return lead;
  int follow = 0;
  char32_t cp = 0;
  if ((lead & 0xE0) == 0xC0) {
    follow = 1;
    cp = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    follow = 2;
    cp = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    follow = 3;
    cp = lead & 0x07;
  } else {
    ThrowBadText();
  }
  for (int i = 0; i < follow; ++i) {
    if (pos >= utf8.size()) ThrowBadText();
    const auto next = static_cast<unsigned char>(utf8[pos++]);
    if ((next & 0xC0) != 0x80) ThrowBadText();
    cp = (cp << 6) | (next & 0x3F);
  }
  if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) ThrowBadText();
  return cp;
}

void AppendUtf16(char32_t cp, std::u16string& out) {
  if (cp < 0x10000) {
    out.push_back(static_cast<char16_t>(cp));
    return;
  }
  cp -= 0x10000;
  out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
  out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
}

}  // namespace

std::u16string KeyCharacters(std::string_view utf8) {
  std::u16string units;
  std::size_t pos = 0;
  while (pos < utf8.size()) AppendUtf16(NextCodePoint(utf8, pos), units);
  if (units.size() > kMaxKeyTextLength) units.resize(kMaxKeyTextLength);
  while (!units.empty() && units.back() == u' ') units.pop_back();
  return units;
}

void InvertFrom(std::vector<std::uint8_t>& out, std::size_t from) {
  for (std::size_t i = from; i < out.size(); ++i) out[i] = static_cast<std::uint8_t>(~out[i]);
}

}  // namespace mdb::index_key
