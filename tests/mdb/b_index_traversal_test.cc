// Walks every index of every Access-written file and checks it against the
// table's rows: each entry points to a live row, each row appears once (rows
// whose key columns are all Null may be left out of an "ignore nulls"
// index), and for indexes on numeric columns the rows come in key order.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "mdb/database.h"
#include "mdb/index_cursor.h"
#include "support/b_dump_all.h"
#include "support/b_memory_file.h"
#include "support/shared_data.h"

namespace {

// A numeric key column's value as a double, or nullopt for Null; a
// non-numeric column makes the index unfit for the order check.
std::optional<double> NumericKey(const mdb::Value& value) {
  return std::visit(
      [](const auto& v) -> std::optional<double> {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, std::uint8_t> || std::is_same_v<T, std::int16_t> ||
                      std::is_same_v<T, std::int32_t> || std::is_same_v<T, float> ||
                      std::is_same_v<T, double>)
          return double(v);
        else if constexpr (std::is_same_v<T, mdb::Currency>)
          return double(v.scaled);
        else if constexpr (std::is_same_v<T, mdb::Date>)
          return v.ole;
        else
          return std::nullopt;
      },
      value);
}

bool IsNumericType(mdb::ColumnType type) {
  using mdb::ColumnType;
  switch (type) {
    case ColumnType::kByte:
    case ColumnType::kInteger:
    case ColumnType::kLong:
    case ColumnType::kCurrency:
    case ColumnType::kSingle:
    case ColumnType::kDouble:
    case ColumnType::kDateTime:
      return true;
    default:
      return false;
  }
}

// -1, 0 or 1 as `a` sorts before, with or after `b` in the index: Null
// first when ascending, and the whole order reversed for a descending column.
int CompareKeys(const mdb::Row& a, const mdb::Row& b, const mdb::PhysicalIndex& index) {
  for (const auto& column : index.columns) {
    const auto ka = NumericKey(a[column.column]), kb = NumericKey(b[column.column]);
    int order = 0;
    if (!ka && kb)
      order = -1;
    else if (ka && !kb)
      order = 1;
    else if (ka && kb && *ka != *kb)
      order = *ka < *kb ? -1 : 1;
    if (order != 0) return column.ascending ? order : -order;
  }
  return 0;
}

struct IndexCheck {
  std::string where;
  std::size_t entries = 0;
  bool ordered_by_numbers = false;
};

class IndexTraversalTest : public ::testing::Test {
 protected:
  void SetUp() override { ORLIX_REQUIRE_DIR(testsupport::AccessDataDir()); }

  static std::vector<std::filesystem::path> Files() {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(testsupport::AccessDataDir()))
      if (entry.path().extension() == ".mdb") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
  }

  // Checks one physical index of the table; returns what was checked.
  static IndexCheck CheckIndex(mdb::Database& db, mdb::Table& table,
                               const std::map<mdb::RowPointer, mdb::Row>& rows,
                               const mdb::PhysicalIndex& index, const std::string& where) {
    IndexCheck check{where};
    const auto entries = mdb::WalkIndex(db.pager(), index.root_page, table.definition().page);
    check.entries = entries.size();
    std::set<mdb::RowPointer> seen;
    for (const auto& entry : entries) {
      EXPECT_TRUE(rows.count(entry.row)) << where << ": entry points to no live row (page "
                                         << entry.row.page << ", row " << entry.row.row << ")";
      EXPECT_TRUE(seen.insert(entry.row).second) << where << ": a row appears twice";
    }
    for (const auto& [pointer, row] : rows) {
      if (seen.count(pointer)) continue;
      const bool all_null =
          std::all_of(index.columns.begin(), index.columns.end(),
                      [&](const mdb::IndexColumn& c) { return mdb::IsNull(row[c.column]); });
      EXPECT_TRUE(index.ignore_nulls() && all_null)
          << where << ": row at page " << pointer.page << " row " << pointer.row
          << " is missing from the index";
    }
    const auto& columns = table.definition().columns;
    check.ordered_by_numbers =
        std::all_of(index.columns.begin(), index.columns.end(), [&](const mdb::IndexColumn& c) {
          return c.column < columns.size() && IsNumericType(columns[c.column].type);
        });
    if (check.ordered_by_numbers) {
      for (std::size_t i = 1; i < entries.size(); ++i) {
        if (!rows.count(entries[i - 1].row) || !rows.count(entries[i].row)) continue;
        EXPECT_LE(CompareKeys(rows.at(entries[i - 1].row), rows.at(entries[i].row), index), 0)
            << where << ": entries " << i - 1 << " and " << i << " are out of key order";
      }
    }
    return check;
  }
};

TEST_F(IndexTraversalTest, EveryIndexYieldsEachRowOnceAndNumericKeysInOrder) {
  std::size_t walked = 0, ordered_indexes = 0, indexes = 0;
  for (const auto& path : Files()) {
    mdb::Database db = mdb::Database::Open(
        mdbtest::MakeMemoryFile(mdbtest::ReadFileBytes(path.string())), path.filename().string());
    for (const mdb::CatalogEntry* entry : db.Tables(false)) {
      mdb::Table table = db.OpenTable(entry->name);
      std::map<mdb::RowPointer, mdb::Row> rows;
      table.Scan([&](mdb::RowPointer at, mdb::Row&& row) { rows.emplace(at, std::move(row)); });
      const auto& physical = table.definition().physical_indexes;
      for (std::size_t i = 0; i < physical.size(); ++i) {
        const std::string where =
            path.filename().string() + " / " + entry->name + " / index " + std::to_string(i);
        const IndexCheck check = CheckIndex(db, table, rows, physical[i], where);
        walked += check.entries;
        ordered_indexes += check.ordered_by_numbers && check.entries > 1;
        ++indexes;
      }
    }
  }
  // The files hold many indexes, numeric ones among them; a walk that found
  // nothing would prove nothing.
  EXPECT_GT(indexes, 20u);
  EXPECT_GT(ordered_indexes, 5u);
  EXPECT_GT(walked, 1000u);
}

TEST_F(IndexTraversalTest, UniqueIndexesHoldDistinctKeys) {
  std::size_t unique_entries = 0;
  for (const auto& path : Files()) {
    mdb::Database db = mdb::Database::Open(
        mdbtest::MakeMemoryFile(mdbtest::ReadFileBytes(path.string())), path.filename().string());
    for (const mdb::CatalogEntry* entry : db.Tables(false)) {
      mdb::Table table = db.OpenTable(entry->name);
      for (const auto& index : table.definition().physical_indexes) {
        if (!index.unique()) continue;
        const auto entries = mdb::WalkIndex(db.pager(), index.root_page, table.definition().page);
        std::set<std::vector<std::byte>> keys;
        for (const auto& e : entries) {
          const auto row = table.ReadRow(e.row);
          ASSERT_TRUE(row.has_value());
          // Several Nulls may share a unique index.
          if (std::any_of(index.columns.begin(), index.columns.end(),
                          [&](const mdb::IndexColumn& c) { return mdb::IsNull((*row)[c.column]); }))
            continue;
          EXPECT_TRUE(keys.insert(e.key).second)
              << path.filename() << " / " << entry->name << ": repeated key";
          ++unique_entries;
        }
      }
    }
  }
  EXPECT_GT(unique_entries, 100u);
}

}  // namespace
