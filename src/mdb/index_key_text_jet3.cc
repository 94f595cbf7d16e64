// Jet 3 "General" text keys. Each character is taken as its Windows-1252
// byte and contributes its inline bytes. Accents travel in a nibble block
// after the inline bytes: it opens and closes with a 0 nibble, and each
// accent nibble is preceded by one placeholder nibble (2) for every
// "significant" letter (one that has accented forms) since the previous
// accent. Without accents the text ends with a single 00 byte. Descending
// columns invert the whole text part.
#include <algorithm>

#include "mdb/index_key_codes.h"
#include "mdb/index_key_text.h"

namespace mdb::index_key {

namespace {

constexpr std::uint8_t kBoundaryNibble = 0x0;
constexpr std::uint8_t kPlaceholderNibble = 0x2;
constexpr std::uint8_t kEndOfText = 0x00;

// Builds bytes from nibbles, high nibble first.
class NibbleWriter {
 public:
  void Put(std::uint8_t nibble) {
    nibble &= 0x0F;
    if (high_next_) {
      bytes_.push_back(static_cast<std::uint8_t>(nibble << 4));
    } else {
      bytes_.back() |= nibble;
    }
    high_next_ = !high_next_;
  }
  bool empty() const { return bytes_.empty(); }
  const std::vector<std::uint8_t>& bytes() const { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
  bool high_next_ = true;
};

// The Windows-1252 byte of a character; 0 (an ignored character) when the
// code page lacks it.
std::uint8_t CodePageByteOf(char16_t ch, const CodePageTable& table) {
  if (ch <= 0xFF) return static_cast<std::uint8_t>(ch);
  const auto found = std::find_if(table.bytes.begin(), table.bytes.end(),
                                  [ch](const CodePageByte& b) { return b.ch == ch; });
  return found == table.bytes.end() ? 0 : found->byte;
}

void AppendInline(const CharCode& code, std::vector<std::uint8_t>& out) {
  for (int i = code.inline_length - 1; i >= 0; --i)
    out.push_back(static_cast<std::uint8_t>(code.inline_bytes >> (8 * i)));
}

}  // namespace

void AppendJet3GeneralText(std::u16string_view text, bool ascending,
                           std::vector<std::uint8_t>& out) {
  const CodePageTable& table = Jet3GeneralCodes();
  const std::size_t start = out.size();
  NibbleWriter accents;
  int significant_since_accent = 0;
  for (char16_t ch : text) {
    const CharCode& code = table.codes[CodePageByteOf(ch, table)];
    AppendInline(code, out);
    if (code.kind == CharKind::kSignificant) {
      ++significant_since_accent;
    } else if (code.kind == CharKind::kAccented) {
      if (accents.empty()) accents.Put(kBoundaryNibble);
      for (; significant_since_accent > 0; --significant_since_accent)
        accents.Put(kPlaceholderNibble);
      accents.Put(static_cast<std::uint8_t>(code.extra_bytes));
    }
  }
  if (accents.empty()) {
    out.push_back(kEndOfText);
  } else {
    accents.Put(kBoundaryNibble);
    out.insert(out.end(), accents.bytes().begin(), accents.bytes().end());
  }
  if (!ascending) InvertFrom(out, start);
}

}  // namespace mdb::index_key
