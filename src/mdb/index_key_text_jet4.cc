// Jet 4 "General" text keys (Access 2000-2003). The key holds, in order:
//   - the inline bytes of every character (case is not kept);
//   - 01, the end of the inline part;
//   - the extra codes: one per character with inline bytes, 02 standing for
//     "no accent"; trailing 00..02 codes are dropped;
//   - when wide flags or hidden characters occur: 01 01, then the packed
//     wide flags with their fixed tail, then (for hidden characters) FF 01
//     or 01 and a positioned code for every hidden character;
//   - 00 as the end of the text.
// Descending columns add a 00 before the end, invert everything from the
// first inline byte through that 00, and still end with a plain 00.
#include <algorithm>
#include <string>

#include "mdb/index_key_codes.h"
#include "mdb/index_key_text.h"
#include "platform/error.h"

namespace mdb::index_key {

namespace {

constexpr std::uint8_t kEndOfInline = 0x01;
constexpr std::uint8_t kEndOfText = 0x00;
constexpr std::uint8_t kNoAccent = 0x02;
constexpr std::uint8_t kWideFlagsLead = 0x80;
constexpr std::uint8_t kWideFlagDefault = 3;  // trailing default flags are dropped
constexpr std::uint8_t kWideFlagsTail[] = {0xFF, 0x02, 0x80, 0xFF, 0x80};
constexpr std::uint8_t kHiddenAfterWideFlags = 0xFF;
constexpr std::uint8_t kHiddenCodeMark = 0x06;
constexpr int kHiddenPositionBase = 7;
constexpr int kHiddenPositionStep = 4;
constexpr int kHiddenPositionFlag = 0x8000;

const CharCode& IgnoredCode() {
  static constexpr CharCode kIgnored{0, CharKind::kIgnored, 0, 0, 0, 0, 0};
  return kIgnored;
}

// The row for `ch`; characters of a covered block without a row are ignored.
const CharCode& CodeOf(char16_t ch) {
  const CodeTable& table = Jet4GeneralCodes();
  const auto row = std::lower_bound(table.codes.begin(), table.codes.end(), ch,
                                    [](const CharCode& code, char16_t c) { return code.ch < c; });
  if (row != table.codes.end() && row->ch == ch) return *row;
  const bool covered =
      std::any_of(table.ranges.begin(), table.ranges.end(),
                  [ch](const CodeRange& r) { return ch >= r.first && ch <= r.last; });
  if (covered) return IgnoredCode();
  throw platform::Failure(
      platform::err::kInvalidArgument, "mdb.index_key", "The character U+" + [ch] {
        static constexpr char kHex[] = "0123456789ABCDEF";
        std::string hex;
        for (int shift = 12; shift >= 0; shift -= 4) hex += kHex[(ch >> shift) & 0xF];
        return hex;
      }() + " has no General sort code in this program.");
}

void AppendBigEndian(std::vector<std::uint8_t>& out, int length, std::uint16_t value) {
  for (int i = length - 1; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// The extra-code block with its bookkeeping: how many characters it speaks
// for, and whether it began with a modifier that no character owns.
struct ExtraCodes {
  std::vector<std::uint8_t> bytes;
  std::size_t characters = 0;
  std::size_t orphan_prefix = 0;
  bool started = false;

  void FillTo(std::size_t position) {
    for (; characters < position; ++characters) bytes.push_back(kNoAccent);
  }
};

class Jet4TextEncoder {
 public:
  explicit Jet4TextEncoder(std::vector<std::uint8_t>& out) : out_(out) {}

  void Add(const CharCode& code) {
    const std::size_t position = inline_characters_;
    if (code.inline_length > 0) {
      AppendBigEndian(out_, code.inline_length, code.inline_bytes);
      ++inline_characters_;
    }
    switch (code.kind) {
      case CharKind::kAccented:
      case CharKind::kAccentedWide:
        if (code.extra_length > 0) AddExtra(position, code);
        if (code.wide_flag != 0) wide_flags_.push_back(code.wide_flag);
        break;
      case CharKind::kHiddenModifier:
        AddModifier(position, static_cast<std::uint8_t>(code.extra_bytes));
        break;
      case CharKind::kHidden:
        AddHidden(position, code);
        break;
      default:
        break;
    }
  }

  void Finish() {
    out_.push_back(kEndOfInline);
    while (!extra_.bytes.empty() && extra_.bytes.back() <= kNoAccent) extra_.bytes.pop_back();
    out_.insert(out_.end(), extra_.bytes.begin(), extra_.bytes.end());
    if (wide_flags_.empty() && hidden_.empty()) return;
    out_.push_back(kEndOfInline);
    out_.push_back(kEndOfInline);
    if (!wide_flags_.empty()) {
      AppendWideFlags();
      if (!hidden_.empty()) out_.push_back(kHiddenAfterWideFlags);
    }
    if (!hidden_.empty()) {
      out_.push_back(kEndOfInline);
      out_.insert(out_.end(), hidden_.begin(), hidden_.end());
    }
  }

 private:
  void AddExtra(std::size_t position, const CharCode& code) {
    extra_.started = true;
    extra_.FillTo(position);
    AppendBigEndian(extra_.bytes, code.extra_length, code.extra_bytes);
    ++extra_.characters;
  }

  // A modifier changes the last extra code; with none yet it stands alone
  // and is not counted as a character position.
  void AddModifier(std::size_t position, std::uint8_t modifier) {
    extra_.started = true;
    extra_.FillTo(position);
    if (!extra_.bytes.empty()) {
      extra_.bytes.back() = static_cast<std::uint8_t>(extra_.bytes.back() + modifier);
    } else {
      extra_.bytes.push_back(modifier);
      extra_.orphan_prefix = 1;
    }
  }

  // The position counts extra-code bytes (written or still pending), not
  // characters, once an extra-code block exists.
  void AddHidden(std::size_t position, const CharCode& code) {
    std::size_t offset = position;
    if (extra_.started)
      offset = extra_.bytes.size() + (position - extra_.characters) - extra_.orphan_prefix;
    const int marker = (kHiddenPositionBase + kHiddenPositionStep * static_cast<int>(offset)) |
                       kHiddenPositionFlag;
    hidden_.push_back(static_cast<std::uint8_t>((marker >> 8) & 0xFF));
    hidden_.push_back(static_cast<std::uint8_t>(marker & 0xFF));
    hidden_.push_back(kHiddenCodeMark);
    AppendBigEndian(hidden_, code.extra_length, code.extra_bytes);
  }

  // Wide flags are packed three to a byte, two bits each below a 10 lead.
  void AppendWideFlags() {
    while (!wide_flags_.empty() && wide_flags_.back() == kWideFlagDefault) wide_flags_.pop_back();
    for (std::size_t i = 0; i < wide_flags_.size(); i += 3) {
      std::uint8_t packed = kWideFlagsLead;
      for (std::size_t j = 0; j < 3 && i + j < wide_flags_.size(); ++j)
        packed |= static_cast<std::uint8_t>(wide_flags_[i + j] << (2 * (2 - j)));
      out_.push_back(packed);
    }
    out_.insert(out_.end(), std::begin(kWideFlagsTail), std::end(kWideFlagsTail));
  }

  std::vector<std::uint8_t>& out_;
  std::size_t inline_characters_ = 0;
  ExtraCodes extra_;
  std::vector<std::uint8_t> hidden_;
  std::vector<std::uint8_t> wide_flags_;
};

}  // namespace

void AppendJet4GeneralText(std::u16string_view text, bool ascending,
                           std::vector<std::uint8_t>& out) {
  const std::size_t start = out.size();
  Jet4TextEncoder encoder(out);
  for (char16_t ch : text) encoder.Add(CodeOf(ch));
  encoder.Finish();
  if (!ascending) {
    out.push_back(kEndOfText);
    InvertFrom(out, start);
  }
  out.push_back(kEndOfText);
}

}  // namespace mdb::index_key
