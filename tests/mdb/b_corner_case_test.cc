// Corner cases the Access files do not show, on databases built page by
// page: an overflow row, a long value spread over three pages, compressed
// text switching between its one-byte and two-byte modes, an empty table,
// rows missing columns added later, and each long-value placement.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "mdb/database.h"
#include "support/b_jet4_builder.h"
#include "support/b_memory_file.h"

namespace {

using mdbtest::Bytes;
using mdbtest::Cell;
using mdbtest::JetType;

mdb::Database OpenBuilt(mdbtest::Jet4Builder& builder) {
  return mdb::Database::Open(mdbtest::MakeMemoryFile(builder.Build()), "built.mdb");
}

Bytes Repeat(std::string_view text, std::size_t times) {
  Bytes out;
  for (std::size_t i = 0; i < times; ++i)
    for (char c : text) out.push_back(std::byte(c));
  return out;
}

std::string Utf8Of(const mdb::Value& value) {
  if (auto* t = std::get_if<mdb::Text>(&value)) return t->utf8;
  if (auto* m = std::get_if<mdb::Memo>(&value)) return m->utf8;
  return "<not text>";
}

const std::vector<mdbtest::BuiltColumn> kIdAndName{{"Id", JetType::kLong},
                                                   {"Name", JetType::kText, 100}};

TEST(CornerCaseTest, OverflowRowIsReadWhereItsDataMovedAndOnlyOnce) {
  mdbtest::Jet4Builder builder;
  builder.AddTableWithOverflowRow("Moved", kIdAndName,
                                  {mdbtest::U32Bytes(42), mdbtest::Utf16("moved away")});
  mdb::Database db = OpenBuilt(builder);
  mdb::Table table = db.OpenTable("Moved");
  const auto rows = table.ReadAll();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(std::get<std::int32_t>(rows[0][0]), 42);
  EXPECT_EQ(Utf8Of(rows[0][1]), "moved away");
}

TEST(CornerCaseTest, EmptyTableHasColumnsAndNoRows) {
  mdbtest::Jet4Builder builder;
  builder.AddTable("Nothing", kIdAndName, {});
  mdb::Database db = OpenBuilt(builder);
  mdb::Table table = db.OpenTable("Nothing");
  EXPECT_EQ(table.definition().columns.size(), 2u);
  EXPECT_TRUE(table.ReadAll().empty());
}

TEST(CornerCaseTest, CompressedTextSwitchesModes) {
  struct Case {
    const char* what;
    Bytes stored;
    std::string utf8;
  };
  const std::vector<Case> cases = {
      {"one-byte mode only", mdbtest::Raw({0xFF, 0xFE, 'a', 'b', 'c'}), "abc"},
      {"into two-byte mode and back", mdbtest::Raw({0xFF, 0xFE, 'a', 0x00, 0xAC, 0x20, 0x00, 'b'}),
       "a\xE2\x82\xAC"
       "b"},
      {"ending in two-byte mode", mdbtest::Raw({0xFF, 0xFE, 'x', 0x00, 0x3B, 0x04, 0x42, 0x04}),
       "x\xD0\xBB\xD1\x82"},
      {"plain UTF-16", mdbtest::Raw({'h', 0, 'i', 0}), "hi"},
      {"empty", Bytes{}, ""},
  };
  std::vector<std::vector<Cell>> rows;
  for (std::size_t i = 0; i < cases.size(); ++i)
    rows.push_back({mdbtest::U32Bytes(std::uint32_t(i)), cases[i].stored});
  mdbtest::Jet4Builder builder;
  builder.AddTable("Texts", kIdAndName, rows);
  mdb::Database db = OpenBuilt(builder);
  const auto read = db.OpenTable("Texts").ReadAll();
  ASSERT_EQ(read.size(), cases.size());
  for (std::size_t i = 0; i < cases.size(); ++i)
    EXPECT_EQ(Utf8Of(read[i][1]), cases[i].utf8) << cases[i].what;
}

TEST(CornerCaseTest, LongValuesInlineOnOnePageAndOverThreePages) {
  mdbtest::Jet4Builder builder;
  std::string long_text;
  for (int i = 0; i < 4500; ++i) long_text.push_back(char('a' + i % 26));
  // 9000 bytes of UTF-16 in three chained rows of at most 3500 bytes, one page each.
  const Bytes chained = builder.LongValueChain(mdbtest::Utf16(long_text), 3500);
  const Bytes single = builder.LongValueSingle(mdbtest::Utf16("xyxyxy"));
  const Bytes in_row = mdbtest::Jet4Builder::LongValueInline(mdbtest::Raw({1, 2, 3}));
  const Bytes ole_single = builder.LongValueSingle(Repeat("\x7f", 300));
  const std::vector<mdbtest::BuiltColumn> columns{
      {"Id", JetType::kLong}, {"Notes", JetType::kMemo}, {"Blob", JetType::kOle}};
  builder.AddTable("Longs", columns,
                   {{mdbtest::U32Bytes(1), chained, in_row},
                    {mdbtest::U32Bytes(2), single, ole_single},
                    {mdbtest::U32Bytes(3), std::nullopt, std::nullopt}});
  mdb::Database db = OpenBuilt(builder);
  const auto rows = db.OpenTable("Longs").ReadAll();
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(Utf8Of(rows[0][1]), long_text);
  EXPECT_EQ(std::get<mdb::Ole>(rows[0][2]).bytes, mdbtest::Raw({1, 2, 3}));
  EXPECT_EQ(Utf8Of(rows[1][1]), "xyxyxy");
  EXPECT_EQ(std::get<mdb::Ole>(rows[1][2]).bytes, Repeat("\x7f", 300));
  EXPECT_TRUE(mdb::IsNull(rows[2][1]));
  EXPECT_TRUE(mdb::IsNull(rows[2][2]));
}

TEST(CornerCaseTest, BrokenLongValueChainIsDamageNotACrash) {
  mdbtest::Jet4Builder builder;
  Bytes chained = builder.LongValueChain(mdbtest::Utf16(std::string(3000, 'q')), 2500);
  // Claim more bytes than the chain holds: the chain ends too early.
  mdbtest::PutU32(chained, 0, 9000);
  builder.AddTable("Memo", {{"Id", JetType::kLong}, {"Notes", JetType::kMemo}},
                   {{mdbtest::U32Bytes(1), chained}});
  mdb::Database db = OpenBuilt(builder);
  mdb::Table table = db.OpenTable("Memo");
  try {
    table.ReadAll();
    FAIL() << "a long value longer than its chain was read";
  } catch (const platform::Failure& failure) {
    EXPECT_EQ(failure.number(), 3049);
    EXPECT_NE(failure.description().find("built.mdb"), std::string::npos) << failure.description();
  }
}

TEST(CornerCaseTest, ValuesOfFixedColumnsAndYesNoBits) {
  mdbtest::Jet4Builder builder;
  const std::vector<mdbtest::BuiltColumn> columns{{"Flag", JetType::kBoolean},
                                                  {"Small", JetType::kInteger},
                                                  {"Ratio", JetType::kDouble},
                                                  {"Tiny", JetType::kByte}};
  double ratio = -2.5;
  Bytes ratio_bytes(8);
  std::memcpy(ratio_bytes.data(), &ratio, 8);
  builder.AddTable("Fixed", columns,
                   {{Bytes{std::byte{1}}, mdbtest::I16Bytes(-7), ratio_bytes, mdbtest::Raw({200})},
                    {Bytes{}, std::nullopt, std::nullopt, std::nullopt}});
  mdb::Database db = OpenBuilt(builder);
  const auto rows = db.OpenTable("Fixed").ReadAll();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(std::get<bool>(rows[0][0]), true);
  EXPECT_EQ(std::get<std::int16_t>(rows[0][1]), -7);
  EXPECT_EQ(std::get<double>(rows[0][2]), -2.5);
  EXPECT_EQ(std::get<std::uint8_t>(rows[0][3]), 200);
  EXPECT_EQ(std::get<bool>(rows[1][0]), false);
  EXPECT_TRUE(mdb::IsNull(rows[1][1]));
  EXPECT_TRUE(mdb::IsNull(rows[1][2]));
}

TEST(CornerCaseTest, ColumnsAddedAfterARowWasWrittenReadAsNull) {
  mdbtest::Jet4Builder builder;
  const std::vector<mdbtest::BuiltColumn> columns{{"Id", JetType::kLong},
                                                  {"Name", JetType::kText, 100},
                                                  {"Added", JetType::kLong},
                                                  {"Later", JetType::kText, 50}};
  builder.AddTable(
      "Grown", columns,
      {{mdbtest::U32Bytes(1), mdbtest::Utf16("old")},
       {mdbtest::U32Bytes(2), mdbtest::Utf16("new"), mdbtest::U32Bytes(5), mdbtest::Utf16("z")}});
  mdb::Database db = OpenBuilt(builder);
  const auto rows = db.OpenTable("Grown").ReadAll();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(Utf8Of(rows[0][1]), "old");
  EXPECT_TRUE(mdb::IsNull(rows[0][2]));
  EXPECT_TRUE(mdb::IsNull(rows[0][3]));
  EXPECT_EQ(std::get<std::int32_t>(rows[1][2]), 5);
  EXPECT_EQ(Utf8Of(rows[1][3]), "z");
}

}  // namespace
