// Index key encoding on hand-checked examples: flag bytes, numbers, Yes/No,
// GUID and binary segments, the two General text orders, row pointers and
// the sort order of the header.

#include "mdb/index_key.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "platform/error.h"

namespace mdb::index_key {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Key(TextOrder order, KeyPart part) {
  return EncodeKey(order, std::span(&part, 1));
}

KeyPart Part(KeyColumnType type, KeyValue value, bool ascending = true) {
  return KeyPart{type, ascending, std::move(value)};
}

struct KeyCase {
  const char* name;
  TextOrder order;
  KeyPart part;
  Bytes expected;
};

void PrintTo(const KeyCase& c, std::ostream* os) {
  *os << c.name;
}

class SingleColumnKey : public ::testing::TestWithParam<KeyCase> {};

TEST_P(SingleColumnKey, EncodesAsJetDoes) {
  const KeyCase& c = GetParam();
  EXPECT_EQ(Key(c.order, c.part), c.expected);
}

constexpr auto kJet3 = TextOrder::kGeneralJet3;
constexpr auto kJet4 = TextOrder::kGeneralJet4;
using T = KeyColumnType;

Guid SampleGuid() {
  Guid g;
  for (std::uint8_t i = 0; i < 16; ++i) g.bytes[i] = static_cast<std::uint8_t>(i * 0x11);
  return g;
}

Decimal SampleDecimal(bool negative) {
  Decimal d;
  d.negative = negative;
  d.magnitude[15] = 5;
  return d;
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, SingleColumnKey,
    ::testing::Values(
        KeyCase{"null_asc", kJet4, Part(T::kLong, Null{}), {0x00}},
        KeyCase{"null_desc", kJet4, Part(T::kLong, Null{}, false), {0xFF}},
        KeyCase{"long_one", kJet4, Part(T::kLong, std::int64_t{1}), {0x7F, 0x80, 0, 0, 1}},
        KeyCase{"long_minus_one",
                kJet4,
                Part(T::kLong, std::int64_t{-1}),
                {0x7F, 0x7F, 0xFF, 0xFF, 0xFF}},
        KeyCase{"long_one_desc",
                kJet4,
                Part(T::kLong, std::int64_t{1}, false),
                {0x80, 0x7F, 0xFF, 0xFF, 0xFE}},
        KeyCase{"integer_zero", kJet3, Part(T::kInteger, std::int64_t{0}), {0x7F, 0x80, 0x00}},
        KeyCase{"byte", kJet3, Part(T::kByte, std::int64_t{200}), {0x7F, 0xC8}},
        KeyCase{"byte_desc", kJet3, Part(T::kByte, std::int64_t{200}, false), {0x80, 0x37}},
        KeyCase{"currency_one",
                kJet4,
                Part(T::kCurrency, std::int64_t{10000}),
                {0x7F, 0x80, 0, 0, 0, 0, 0, 0x27, 0x10}},
        KeyCase{"double_one", kJet4, Part(T::kDouble, 1.0), {0x7F, 0xBF, 0xF0, 0, 0, 0, 0, 0, 0}},
        KeyCase{"double_minus_one",
                kJet4,
                Part(T::kDouble, -1.0),
                {0x7F, 0x40, 0x0F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
        KeyCase{"double_one_desc",
                kJet4,
                Part(T::kDouble, 1.0, false),
                {0x80, 0x40, 0x0F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
        KeyCase{"single_one", kJet3, Part(T::kSingle, 1.0), {0x7F, 0xBF, 0x80, 0, 0}},
        KeyCase{"date_zero", kJet4, Part(T::kDateTime, 0.0), {0x7F, 0x80, 0, 0, 0, 0, 0, 0, 0}},
        KeyCase{"yes", kJet4, Part(T::kYesNo, true), {0x7F, 0x00}},
        KeyCase{"no", kJet4, Part(T::kYesNo, false), {0x7F, 0xFF}},
        KeyCase{"yes_desc", kJet4, Part(T::kYesNo, true, false), {0x80, 0xFF}},
        KeyCase{"yes_no_null_is_no", kJet3, Part(T::kYesNo, Null{}), {0x7F, 0xFF}},
        KeyCase{"decimal_plus_five",
                kJet4,
                Part(T::kDecimal, SampleDecimal(false)),
                {0x7F, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 5}},
        KeyCase{"decimal_minus_five",
                kJet4,
                Part(T::kDecimal, SampleDecimal(true)),
                {0x7F, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                 0xFF, 0xFF, 0xFF, 0xFA}},
        KeyCase{"decimal_plus_five_desc",
                kJet4,
                Part(T::kDecimal, SampleDecimal(false), false),
                {0x80, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                 0xFF, 0xFF, 0xFF, 0xFA}},
        KeyCase{"decimal_minus_five_desc",
                kJet4,
                Part(T::kDecimal, SampleDecimal(true), false),
                {0x80, 0x00, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 5}}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Segments, SingleColumnKey,
    ::testing::Values(KeyCase{"guid",
                              kJet4,
                              Part(T::kGuid, SampleGuid()),
                              {0x7F, 0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x09, 0x88,
                               0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF, 0x08}},
                      KeyCase{"guid_desc",
                              kJet4,
                              Part(T::kGuid, SampleGuid(), false),
                              {0x80, 0xFF, 0xEE, 0xDD, 0xCC, 0xBB, 0xAA, 0x99, 0x88, 0x09, 0x77,
                               0x66, 0x55, 0x44, 0x33, 0x22, 0x11, 0x00, 0xF7}},
                      KeyCase{"binary_short",
                              kJet4,
                              Part(T::kBinary, Bytes{1, 2, 3}),
                              {0x7F, 1, 2, 3, 0, 0, 0, 0, 0, 3}}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Jet4Text, SingleColumnKey,
    ::testing::Values(KeyCase{"empty", kJet4, Part(T::kText, std::string()), {0x7F, 0x01, 0x00}},
                      KeyCase{"case_is_not_kept",
                              kJet4,
                              Part(T::kText, std::string("Aa")),
                              {0x7F, 0x4A, 0x4A, 0x01, 0x00}},
                      KeyCase{"trailing_blanks_dropped",
                              kJet4,
                              Part(T::kText, std::string("A  ")),
                              {0x7F, 0x4A, 0x01, 0x00}},
                      KeyCase{"descending",
                              kJet4,
                              Part(T::kText, std::string("Aa"), false),
                              {0x80, 0xB5, 0xB5, 0xFE, 0xFF, 0x00}},
                      KeyCase{"accent",
                              kJet4,
                              Part(T::kText, std::string("\xC3\xA9")),  // é
                              {0x7F, 0x51, 0x01, 0x0E, 0x00}},
                      KeyCase{"accent_after_plain",
                              kJet4,
                              Part(T::kText, std::string("e\xC3\xA9")),
                              {0x7F, 0x51, 0x51, 0x01, 0x02, 0x0E, 0x00}},
                      KeyCase{"trailing_no_accent_dropped",
                              kJet4,
                              Part(T::kText, std::string("\xC3\xA9"
                                                         "e")),
                              {0x7F, 0x51, 0x51, 0x01, 0x0E, 0x00}},
                      KeyCase{"hidden_character",
                              kJet4,
                              Part(T::kText, std::string("A\x01")),
                              {0x7F, 0x4A, 0x01, 0x01, 0x01, 0x01, 0x80, 0x0B, 0x06, 0x03, 0x00}},
                      KeyCase{"hidden_apostrophe_first",
                              kJet4,
                              Part(T::kText, std::string("'A")),
                              {0x7F, 0x4A, 0x01, 0x01, 0x01, 0x01, 0x80, 0x07, 0x06, 0x80, 0x00}},
                      KeyCase{"modifier_changes_no_accent",
                              kJet4,
                              Part(T::kText, std::string("A\xCA\xB9")),  // A, U+02B9
                              {0x7F, 0x4A, 0x01, 0x0E, 0x00}},
                      KeyCase{"modifier_alone_first",
                              kJet4,
                              Part(T::kText, std::string("\xCA\xB9"
                                                         "A")),
                              {0x7F, 0x4A, 0x01, 0x0C, 0x00}},
                      KeyCase{"null_text", kJet4, Part(T::kText, Null{}), {0x00}}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Jet3Text, SingleColumnKey,
    ::testing::Values(
        KeyCase{"empty", kJet3, Part(T::kText, std::string()), {0x7F, 0x00}},
        KeyCase{"plain", kJet3, Part(T::kText, std::string("AB")), {0x7F, 0x60, 0x61, 0x00}},
        KeyCase{"accent",
                kJet3,
                Part(T::kText, std::string("\xC3\x89")),  // É
                {0x7F, 0x66, 0x04, 0x00}},
        KeyCase{"accent_after_significant",
                kJet3,
                Part(T::kText, std::string("E\xC3\xA9")),
                {0x7F, 0x66, 0x66, 0x02, 0x40}},
        KeyCase{"accent_after_plain_needs_no_placeholder",
                kJet3,
                Part(T::kText, std::string("B\xC3\xA9")),
                {0x7F, 0x61, 0x66, 0x04, 0x00}},
        KeyCase{"descending_accent",
                kJet3,
                Part(T::kText, std::string("E\xC3\xA9"), false),
                {0x80, 0x99, 0x99, 0xFD, 0xBF}},
        KeyCase{"code_page_character",
                kJet3,
                Part(T::kText, std::string("\xE2\x82\xAC")),  // €
                {0x7F, 0x10, 0x00}},
        KeyCase{"character_outside_code_page_ignored",
                kJet3,
                Part(T::kText, std::string("A\xE4\xB8\x80")),
                {0x7F, 0x60, 0x00}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IndexKeyText, OnlyTheFirst255CharactersCount) {
  for (TextOrder order : {kJet3, kJet4}) {
    EXPECT_EQ(Key(order, Part(T::kText, std::string(300, 'x'))),
              Key(order, Part(T::kText, std::string(255, 'x'))));
    EXPECT_NE(Key(order, Part(T::kText, std::string(255, 'x'))),
              Key(order, Part(T::kText, std::string(254, 'x'))));
  }
}

TEST(IndexKeyComposite, ColumnsFollowEachOtherWithTheirOwnDirection) {
  const std::vector<KeyPart> parts{Part(T::kText, std::string("A")),
                                   Part(T::kLong, std::int64_t{2}, false), Part(T::kLong, Null{})};
  EXPECT_EQ(EncodeKey(kJet3, parts), (Bytes{0x7F, 0x60, 0x00, 0x80, 0x7F, 0xFF, 0xFF, 0xFD, 0x00}));
}

// Plain byte order of the keys must be the order of the values, reversed
// for descending columns.
template <typename V>
void ExpectOrdered(KeyColumnType type, const std::vector<V>& ascending_values) {
  for (bool ascending : {true, false}) {
    for (std::size_t i = 1; i < ascending_values.size(); ++i) {
      const Bytes lower = Key(kJet4, Part(type, ascending_values[i - 1], ascending));
      const Bytes higher = Key(kJet4, Part(type, ascending_values[i], ascending));
      EXPECT_EQ(ascending, lower < higher) << "values " << i - 1 << " and " << i;
    }
  }
}

TEST(IndexKeyOrder, NumbersSortAsTheirValues) {
  ExpectOrdered<std::int64_t>(T::kLong, {INT32_MIN, -70000, -1, 0, 1, 255, 256, INT32_MAX});
  ExpectOrdered<std::int64_t>(T::kInteger, {INT16_MIN, -1, 0, 1, INT16_MAX});
  ExpectOrdered<std::int64_t>(T::kCurrency, {INT64_MIN, -10000, 0, 1, INT64_MAX});
  const double inf = std::numeric_limits<double>::infinity();
  ExpectOrdered<double>(T::kDouble,
                        {-inf, -1e300, -2.5, -1.0, -1e-300, 0.0, 1e-300, 0.5, 1e300, inf});
  ExpectOrdered<double>(T::kSingle, {-1e30, -3.5, -0.25, 0.0, 0.25, 3.5, 1e30});
}

TEST(IndexKeyOrder, NullSortsBeforeEveryValueAscendingAndAfterDescending) {
  for (bool ascending : {true, false}) {
    const Bytes null_key = Key(kJet4, Part(T::kText, Null{}, ascending));
    const Bytes empty_key = Key(kJet4, Part(T::kText, std::string(), ascending));
    EXPECT_EQ(ascending, null_key < empty_key);
  }
}

TEST(IndexKeyOrder, TextSortsAlphabeticallyNotByCodePoint) {
  // "b" < "C" alphabetically although 'C' < 'b' in ASCII; "a" < "aa".
  for (TextOrder order : {kJet3, kJet4}) {
    const Bytes a = Key(order, Part(T::kText, std::string("a")));
    const Bytes aa = Key(order, Part(T::kText, std::string("aa")));
    const Bytes b = Key(order, Part(T::kText, std::string("b")));
    const Bytes c = Key(order, Part(T::kText, std::string("C")));
    EXPECT_LT(a, aa);
    EXPECT_LT(aa, b);
    EXPECT_LT(b, c);
  }
}

TEST(IndexKeyEntry, LeafAndNodeEntriesAppendRowAndChildPointers) {
  const std::vector<KeyPart> parts{Part(T::kByte, std::int64_t{1})};
  const RowPointer row{0x010203, 4};
  EXPECT_EQ(EncodeLeafEntry(kJet4, parts, row), (Bytes{0x7F, 0x01, 0x01, 0x02, 0x03, 0x04}));
  EXPECT_EQ(EncodeNodeEntry(kJet4, parts, row, 0x0A0B0C0D),
            (Bytes{0x7F, 0x01, 0x01, 0x02, 0x03, 0x04, 0x0A, 0x0B, 0x0C, 0x0D}));
}

int FailureNumber(const std::function<void()>& action) {
  try {
    action();
  } catch (const platform::Failure& failure) {
    return failure.number();
  }
  return 0;
}

TEST(IndexKeyErrors, RefusesValuesItCannotEncode) {
  const auto encode = [](TextOrder order, KeyPart part) {
    return [order, part] { Key(order, part); };
  };
  EXPECT_EQ(FailureNumber(encode(kJet4, Part(T::kLong, std::int64_t{1} << 31))), 6);
  EXPECT_EQ(FailureNumber(encode(kJet4, Part(T::kByte, std::int64_t{-1}))), 6);
  EXPECT_EQ(FailureNumber(encode(kJet4, Part(T::kLong, std::string("1")))), 13);
  EXPECT_EQ(FailureNumber(encode(kJet3, Part(T::kDecimal, SampleDecimal(false)))), 13);
  EXPECT_EQ(FailureNumber(encode(kJet4, Part(T::kText, std::string("\xC3")))), 5);
  // A character the Jet 4 table does not cover is refused rather than guessed.
  EXPECT_EQ(FailureNumber(encode(kJet4, Part(T::kText, std::string("\xE4\xB8\x80")))), 5);
  EXPECT_EQ(FailureNumber([] { EncodeLeafEntry(kJet4, {}, RowPointer{0x1000000, 0}); }), 6);
}

TEST(IndexKeySortOrder, HeaderFieldSelectsTheTextOrder) {
  std::vector<std::uint8_t> jet4_header(0x80, 0);
  jet4_header[0x6E] = 0x09;
  jet4_header[0x6F] = 0x04;
  const SortOrder legacy = ReadHeaderSortOrder(KeyFormat::kJet4, jet4_header);
  EXPECT_EQ(legacy.locale, 1033);
  EXPECT_EQ(TextOrderFor(KeyFormat::kJet4, legacy), kJet4);
  jet4_header[0x71] = 1;  // the Access 2010 order
  const SortOrder newer = ReadHeaderSortOrder(KeyFormat::kJet4, jet4_header);
  EXPECT_EQ(newer.version, 1);
  EXPECT_EQ(FailureNumber([&] { TextOrderFor(KeyFormat::kJet4, newer); }), 5);

  std::vector<std::uint8_t> jet3_header(0x40, 0);
  jet3_header[0x3A] = 0x09;
  jet3_header[0x3B] = 0x04;
  EXPECT_EQ(TextOrderFor(KeyFormat::kJet3, ReadHeaderSortOrder(KeyFormat::kJet3, jet3_header)),
            kJet3);
  EXPECT_EQ(FailureNumber([] { TextOrderFor(KeyFormat::kJet3, SortOrder{1053, 0}); }), 5);
}

}  // namespace
}  // namespace mdb::index_key
