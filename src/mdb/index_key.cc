#include "mdb/index_key.h"

#include <bit>
#include <cstring>
#include <string>

#include "mdb/index_key_text.h"
#include "platform/error.h"

namespace mdb::index_key {

namespace {

constexpr char kSource[] = "mdb.index_key";

// Flag bytes that open every column of a key.
constexpr std::uint8_t kValueFlag = 0x7F;  // inverted (0x80) when descending
constexpr std::uint8_t kNullFlag = 0x00;   // inverted (0xFF) when descending

constexpr std::uint8_t kYes = 0x00;  // Yes sorts before No
constexpr std::uint8_t kNo = 0xFF;

constexpr std::uint16_t kGeneralLocale = 1033;
constexpr std::size_t kJet3SortOrderOffset = 0x3A;
constexpr std::size_t kJet4SortOrderOffset = 0x6E;

// Binary values are cut in 8-byte segments, each followed by a length byte.
constexpr std::size_t kSegmentLength = 8;
constexpr std::uint8_t kMoreSegments = 9;

[[noreturn]] void ThrowMismatch(KeyColumnType type) {
  throw platform::Failure(
      platform::err::kTypeMismatch, kSource,
      "The value does not fit index column type " + std::to_string(static_cast<int>(type)) + ".");
}

template <typename T>
const T& ValueAs(const KeyPart& part) {
  const T* value = std::get_if<T>(&part.value);
  if (value == nullptr) ThrowMismatch(part.type);
  return *value;
}

void AppendBigEndian(std::vector<std::uint8_t>& out, std::uint64_t value, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

std::int64_t CheckedInteger(const KeyPart& part, std::int64_t low, std::int64_t high) {
  const std::int64_t value = ValueAs<std::int64_t>(part);
  if (value < low || value > high)
    throw platform::Failure(
        platform::err::kOverflow, kSource,
        "The value " + std::to_string(value) + " is out of range for its index column.");
  return value;
}

// Signed integers: big-endian two's complement with the sign bit flipped,
// so negative numbers sort first.
void AppendSigned(std::vector<std::uint8_t>& out, std::int64_t value, int bytes) {
  const std::uint64_t bits =
      static_cast<std::uint64_t>(value) ^ (std::uint64_t{1} << (8 * bytes - 1));
  AppendBigEndian(out, bits, bytes);
}

// Floating point: positive numbers get the sign bit flipped, negative ones
// are inverted entirely, so the bytes sort as the numbers.
void AppendFloating(std::vector<std::uint8_t>& out, std::uint64_t bits, int bytes) {
  const std::uint64_t sign = std::uint64_t{1} << (8 * bytes - 1);
  const std::uint64_t mask = bytes == 8 ? ~std::uint64_t{0} : (sign << 1) - 1;
  bits = (bits & sign) != 0 ? (~bits & mask) : (bits ^ sign);
  AppendBigEndian(out, bits, bytes);
}

// Decimal as Jet 3/4 write it: a sign byte (FF positive, 00 negative) and
// the magnitude, inverted when the number is negative in an ascending
// column or positive in a descending one. (Descending Decimal indexes thus
// misorder negative numbers; Jet 4 does the same.)
void AppendDecimal(std::vector<std::uint8_t>& out, const Decimal& value, bool ascending) {
  const bool invert = value.negative == ascending;
  out.push_back(value.negative ? 0x00 : 0xFF);
  for (std::uint8_t b : value.magnitude) out.push_back(invert ? static_cast<std::uint8_t>(~b) : b);
}

// GUID and Binary: segments of 8 bytes, each followed by 9 while more
// follow; the last segment is zero-padded and followed by its length.
// Descending inverts the data but not the 9s; the last length is inverted.
void AppendSegmented(std::vector<std::uint8_t>& out, std::span<const std::uint8_t> data,
                     bool ascending) {
  std::size_t pos = 0;
  while (data.size() - pos > kSegmentLength) {
    for (std::size_t i = 0; i < kSegmentLength; ++i)
      out.push_back(ascending ? data[pos + i] : static_cast<std::uint8_t>(~data[pos + i]));
    out.push_back(kMoreSegments);
    pos += kSegmentLength;
  }
  if (pos == data.size()) return;
  const std::size_t last_start = out.size();
  const std::size_t rest = data.size() - pos;
  out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(pos), data.end());
  out.insert(out.end(), kSegmentLength - rest, 0);
  out.push_back(static_cast<std::uint8_t>(rest));
  if (!ascending) InvertFrom(out, last_start);
}

void AppendText(std::vector<std::uint8_t>& out, TextOrder order, const KeyPart& part) {
  const std::u16string text = KeyCharacters(ValueAs<std::string>(part));
  if (order == TextOrder::kGeneralJet4)
    AppendJet4GeneralText(text, part.ascending, out);
  else
    AppendJet3GeneralText(text, part.ascending, out);
}

// Values whose descending form is the plain inverse of the ascending form.
void AppendInvertible(std::vector<std::uint8_t>& out, const KeyPart& part) {
  const std::size_t start = out.size();
  switch (part.type) {
    case KeyColumnType::kByte:
      out.push_back(static_cast<std::uint8_t>(CheckedInteger(part, 0, 255)));
      break;
    case KeyColumnType::kInteger:
      AppendSigned(out, CheckedInteger(part, INT16_MIN, INT16_MAX), 2);
      break;
    case KeyColumnType::kLong:
      AppendSigned(out, CheckedInteger(part, INT32_MIN, INT32_MAX), 4);
      break;
    case KeyColumnType::kCurrency:
      AppendSigned(out, ValueAs<std::int64_t>(part), 8);
      break;
    case KeyColumnType::kSingle:
      AppendFloating(out, std::bit_cast<std::uint32_t>(static_cast<float>(ValueAs<double>(part))),
                     4);
      break;
    case KeyColumnType::kDouble:
    case KeyColumnType::kDateTime:
      AppendFloating(out, std::bit_cast<std::uint64_t>(ValueAs<double>(part)), 8);
      break;
    default:
      ThrowMismatch(part.type);
  }
  if (!part.ascending) InvertFrom(out, start);
}

void AppendPart(std::vector<std::uint8_t>& out, TextOrder order, const KeyPart& part) {
  const auto flag = [&](std::uint8_t ascending_flag) {
    out.push_back(part.ascending ? ascending_flag : static_cast<std::uint8_t>(~ascending_flag));
  };
  // Yes/No columns hold no Null; a missing value is No.
  if (part.type == KeyColumnType::kYesNo) {
    const bool yes = std::holds_alternative<Null>(part.value) ? false : ValueAs<bool>(part);
    flag(kValueFlag);
    flag(yes ? kYes : kNo);
    return;
  }
  if (std::holds_alternative<Null>(part.value)) {
    flag(kNullFlag);
    return;
  }
  flag(kValueFlag);
  switch (part.type) {
    case KeyColumnType::kText:
    case KeyColumnType::kMemo:
      AppendText(out, order, part);
      return;
    case KeyColumnType::kGuid:
      AppendSegmented(out, ValueAs<Guid>(part).bytes, part.ascending);
      return;
    case KeyColumnType::kBinary:
      AppendSegmented(out, ValueAs<std::vector<std::uint8_t>>(part), part.ascending);
      return;
    case KeyColumnType::kDecimal:
      if (order != TextOrder::kGeneralJet4) ThrowMismatch(part.type);
      AppendDecimal(out, ValueAs<Decimal>(part), part.ascending);
      return;
    default:
      AppendInvertible(out, part);
      return;
  }
}

}  // namespace

TextOrder TextOrderFor(KeyFormat format, SortOrder order) {
  if (order.locale == kGeneralLocale || order.locale == 0) {
    if (format == KeyFormat::kJet3) return TextOrder::kGeneralJet3;
    if (order.version == 0) return TextOrder::kGeneralJet4;
  }
  throw platform::Failure(platform::err::kInvalidArgument, kSource,
                          "Sort order " + std::to_string(order.locale) + " version " +
                              std::to_string(order.version) + " is not supported for index keys.");
}

SortOrder ReadHeaderSortOrder(KeyFormat format, std::span<const std::uint8_t> header_page) {
  const std::size_t offset =
      format == KeyFormat::kJet3 ? kJet3SortOrderOffset : kJet4SortOrderOffset;
  const std::size_t size = format == KeyFormat::kJet3 ? 2 : 4;
  if (header_page.size() < offset + size)
    throw platform::Failure(platform::err::kSubscriptOutOfRange, kSource,
                            "The database header is too short to hold its sort order.");
  SortOrder order;
  order.locale = static_cast<std::uint16_t>(header_page[offset] | (header_page[offset + 1] << 8));
  order.version = format == KeyFormat::kJet3 ? 0 : header_page[offset + 3];
  return order;
}

std::vector<std::uint8_t> EncodeKey(TextOrder order, std::span<const KeyPart> parts) {
  std::vector<std::uint8_t> key;
  for (const KeyPart& part : parts) AppendPart(key, order, part);
  return key;
}

void AppendRowPointer(std::vector<std::uint8_t>& out, RowPointer row) {
  if (row.page > 0xFFFFFF)
    throw platform::Failure(platform::err::kOverflow, kSource,
                            "Page " + std::to_string(row.page) + " does not fit an index entry.");
  AppendBigEndian(out, row.page, 3);
  out.push_back(row.row);
}

std::vector<std::uint8_t> EncodeLeafEntry(TextOrder order, std::span<const KeyPart> parts,
                                          RowPointer row) {
  std::vector<std::uint8_t> entry = EncodeKey(order, parts);
  AppendRowPointer(entry, row);
  return entry;
}

std::vector<std::uint8_t> EncodeNodeEntry(TextOrder order, std::span<const KeyPart> parts,
                                          RowPointer row, std::uint32_t child_page) {
  std::vector<std::uint8_t> entry = EncodeLeafEntry(order, parts, row);
  AppendBigEndian(entry, child_page, 4);
  return entry;
}

}  // namespace mdb::index_key
