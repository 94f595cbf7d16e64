#pragma once
// A table definition (TDEF): its columns, indexes and usage maps, read from
// one or more chained table-definition pages. Every stored field the write
// half needs to write the definition back is kept.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "mdb/column_type.h"
#include "mdb/pager.h"
#include "mdb/row_pointer.h"
#include "mdb/text_codec.h"

namespace mdb {

namespace column_flag {
inline constexpr std::uint8_t kFixedLength = 0x01;
inline constexpr std::uint8_t kNullable = 0x02;
inline constexpr std::uint8_t kAutoNumber = 0x04;
inline constexpr std::uint8_t kReplication = 0x10;
inline constexpr std::uint8_t kAutoGuid = 0x40;
inline constexpr std::uint8_t kHyperlink = 0x80;
}  // namespace column_flag

namespace index_flag {
inline constexpr std::uint8_t kUnique = 0x01;
inline constexpr std::uint8_t kIgnoreNulls = 0x02;
inline constexpr std::uint8_t kRequired = 0x08;
}  // namespace index_flag

struct ColumnDefinition {
  std::string name;
  std::uint8_t type_code = 0;
  ColumnType type = ColumnType::kBinary;
  std::uint16_t number = 0;      // its bit in the null mask (counts deleted columns)
  std::uint16_t var_index = 0;   // its entry in the row's variable-offset table
  std::uint16_t row_number = 0;  // the second column number of the descriptor
  std::uint16_t fixed_offset = 0;
  std::uint16_t length = 0;  // bytes (Text: two per character in Jet 4)
  std::uint8_t flags = 0;
  std::uint8_t ext_flags = 0;  // Jet 4: 0x01 compressed Unicode
  std::uint8_t precision = 0;  // Decimal only
  std::uint8_t scale = 0;      // Decimal only

  bool fixed() const { return (flags & column_flag::kFixedLength) != 0; }
  bool nullable() const { return (flags & column_flag::kNullable) != 0; }
  bool autonumber() const { return (flags & column_flag::kAutoNumber) != 0; }
  bool auto_guid() const { return (flags & column_flag::kAutoGuid) != 0; }
  bool hyperlink() const { return (flags & column_flag::kHyperlink) != 0; }
  bool compressed_unicode() const { return (ext_flags & 0x01) != 0; }
};

struct IndexColumn {
  std::uint16_t column_number = 0;
  std::size_t column = 0;  // position in TableDefinition::columns
  bool ascending = true;
};

// An index as stored: its key columns and B-tree.
struct PhysicalIndex {
  std::vector<IndexColumn> columns;
  RowPointer usage_map;
  std::uint32_t root_page = 0;
  std::uint8_t flags = 0;
  std::uint32_t entry_count = 0;  // row count kept for the index

  bool unique() const { return (flags & index_flag::kUnique) != 0; }
  bool ignore_nulls() const { return (flags & index_flag::kIgnoreNulls) != 0; }
  bool required() const { return (flags & index_flag::kRequired) != 0; }
};

enum class IndexKind : std::uint8_t { kNormal = 0, kPrimaryKey = 1, kForeignKey = 2 };

// An index as users see it; several may share one physical index.
struct LogicalIndex {
  std::string name;
  std::int32_t number = 0;
  std::uint32_t physical = 0;  // position in TableDefinition::physical_indexes
  IndexKind kind = IndexKind::kNormal;
  std::uint8_t related_table_kind = 0;
  std::int32_t related_index = -1;
  std::uint32_t related_table_page = 0;
  bool cascade_updates = false;
  bool cascade_deletes = false;
};

struct TableDefinition {
  std::uint32_t page = 0;            // first table-definition page
  std::vector<std::uint32_t> pages;  // the chain, first page first
  std::uint32_t row_count = 0;
  std::uint32_t next_autonumber = 0;
  std::uint8_t table_type = 0;  // 0x4E user table, 0x53 system table
  std::uint16_t max_columns = 0;
  std::uint16_t var_column_count = 0;
  std::vector<ColumnDefinition> columns;  // in stored (display) order
  std::vector<PhysicalIndex> physical_indexes;
  std::vector<LogicalIndex> logical_indexes;
  RowPointer owned_pages;
  RowPointer free_space_pages;

  // The column of a name (ASCII letters without regard to case), or nullopt.
  std::optional<std::size_t> FindColumn(std::string_view name) const;
};

TableDefinition ReadTableDefinition(Pager& pager, const TextCodec& text, std::uint32_t page);

}  // namespace mdb
