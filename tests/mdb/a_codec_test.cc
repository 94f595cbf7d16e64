// The value codecs: text (Jet 4 compressed and plain Unicode, Jet 3 code
// page), Currency, Decimal, Date/Time and Replication ID.

#include <gtest/gtest.h>

#include "mdb/numeric_codec.h"
#include "mdb/text_codec.h"

namespace {

std::vector<std::byte> B(std::initializer_list<int> values) {
  std::vector<std::byte> out;
  for (int v : values) out.push_back(static_cast<std::byte>(v));
  return out;
}

TEST(TextCodecTest, DecodesEachStoredForm) {
  mdb::TextCodec jet4(mdb::kJet4Format, 1252);
  mdb::TextCodec jet3(mdb::kJet3Format, 1252);
  struct Case {
    const char* what;
    const mdb::TextCodec& codec;
    std::vector<std::byte> bytes;
    std::string utf8;
  } cases[] = {
      {"plain UTF-16LE", jet4, B({'a', 0, 0xE4, 0, 0xAC, 0x20}), "a\xC3\xA4\xE2\x82\xAC"},
      {"compressed", jet4, B({0xFF, 0xFE, 'a', 'b', 'c'}), "abc"},
      {"compressed switching to two-byte and back", jet4,
       B({0xFF, 0xFE, 'a', 'b', 0, 0xAC, 0x20, 0x22, 0x21, 0, 'c'}),
       "ab\xE2\x82\xAC\xE2\x84\xA2"
       "c"},
      {"compressed ending in two-byte mode", jet4, B({0xFF, 0xFE, 'x', 0, 0x3A, 0x04}),
       "x\xD0\xBA"},
      {"surrogate pair", jet4, B({0x3D, 0xD8, 0x00, 0xDE}), "\xF0\x9F\x98\x80"},
      {"lone surrogate", jet4, B({0x3D, 0xD8}), "\xEF\xBF\xBD"},
      {"Jet 3 Windows-1252", jet3, B({'A', 0x80, 0xE9, 0x81}), "A\xE2\x82\xAC\xC3\xA9\xC2\x81"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.codec.DecodeValue(c.bytes), c.utf8) << c.what;
  }
}

TEST(NumericCodecTest, CurrencyAndDecimalAreExact) {
  EXPECT_EQ(mdb::CurrencyToString({35000}), "3.5000");
  EXPECT_EQ(mdb::CurrencyToString({-1}), "-0.0001");
  EXPECT_EQ(mdb::CurrencyToString({INT64_MIN}), "-922337203685477.5808");
  struct Case {
    mdb::Decimal value;
    std::string text;
  } cases[] = {
      {{false, {0, 0, 0, 150}, 18, 2}, "1.50"},
      {{true, {0, 0, 0, 5}, 18, 3}, "-0.005"},
      {{true, {0, 0, 0, 0}, 18, 0}, "0"},
      {{false, {0, 0, 1, 0}, 28, 0}, "4294967296"},
      {{false, {0, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF}, 28, 0}, "79228162514264337593543950335"},
  };
  for (const auto& c : cases) EXPECT_EQ(mdb::DecimalToString(c.value), c.text);
}

TEST(NumericCodecTest, DatesAndGuids) {
  struct Case {
    double ole;
    std::string iso;
  } cases[] = {
      {0.0, "1899-12-30T00:00:00"},
      {27293.0, "1974-09-21T00:00:00"},
      {2.5, "1900-01-01T12:00:00"},
      {-1.25, "1899-12-29T06:00:00"},  // negative days, time counted forwards
      {36526.0 + 0.5 / 86400.0, "2000-01-01T00:00:00.500"},
      {2958465.99999999, "9999-12-31T23:59:59.999"},
  };
  for (const auto& c : cases) EXPECT_EQ(mdb::DateToIso8601({c.ole}), c.iso) << c.ole;
  mdb::Guid g{{0x40, 0xFC, 0x29, 0x6B, 0x47, 0xCA, 0x67, 0x10, 0xB3, 0x1D, 0x00, 0xDD, 0x01, 0x06,
               0x62, 0xDA}};
  EXPECT_EQ(mdb::GuidToString(g), "{6B29FC40-CA47-1067-B31D-00DD010662DA}");
}

}  // namespace
