#pragma once
// Reads everything a database holds through the engine: every table's rows
// (system tables too unless told otherwise) and every index walked to its end. Used by the
// robustness test, the fuzz target and the benchmark; returns how many values
// and index entries were read, so that the work cannot be optimised away.

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "mdb/database.h"
#include "mdb/index_cursor.h"

namespace mdbtest {

inline std::size_t DumpAll(mdb::Database& database, bool include_system = true) {
  std::size_t items = 0;
  for (const mdb::CatalogEntry* entry : database.Tables(include_system)) {
    mdb::Table table = database.OpenTable(entry->name);
    table.Scan([&](mdb::RowPointer, auto&& row) { items += row.size(); });
    for (const auto& index : table.definition().physical_indexes)
      items += mdb::WalkIndex(database.pager(), index.root_page, table.definition().page).size();
  }
  return items;
}

inline std::vector<std::byte> ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<char> chars((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::byte> bytes(chars.size());
  for (std::size_t i = 0; i < chars.size(); ++i)
    bytes[i] = std::byte(static_cast<unsigned char>(chars[i]));
  return bytes;
}

}  // namespace mdbtest
