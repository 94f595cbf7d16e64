#include "mdb/table_definition.h"

#include <set>
#include <string>

#include "mdb/page_kind.h"

namespace mdb {
namespace {

constexpr std::size_t kPageHeaderSize = 8;  // kind, 1, id/free space, next page
constexpr std::size_t kIndexColumnSlots = 10;
constexpr std::uint16_t kNoColumn = 0xFFFF;
constexpr std::size_t kMaxTableDefinitionPages = 64;
constexpr std::size_t kMaxIndexes = 1000;

// The table-definition pages joined into one buffer: the first page whole,
// every further page without its 8-byte header.
std::vector<std::byte> JoinPages(Pager& pager, std::uint32_t first,
                                 std::vector<std::uint32_t>& chain) {
  std::vector<std::byte> joined;
  std::set<std::uint32_t> seen;
  std::uint32_t page = first;
  std::uint32_t referrer = first;
  while (page != 0) {
    if (!seen.insert(page).second || seen.size() > kMaxTableDefinitionPages) {
      ThrowCorrupt(Where{pager.file_name(), referrer},
                   "the table-definition chain loops back to page " + std::to_string(page));
    }
    PageRef buffer = pager.Read(page, referrer);
    ByteView view = pager.View(buffer, page);
    ExpectKind(view, PageKind::kTableDefinition, "a table-definition page");
    chain.push_back(page);
    auto from = joined.empty() ? buffer->begin() : buffer->begin() + kPageHeaderSize;
    joined.insert(joined.end(), from, buffer->end());
    referrer = page;
    page = view.U32(4);
  }
  return joined;
}

std::string ReadName(const ByteView& def, const Format& format, const TextCodec& text,
                     std::size_t& pos) {
  std::size_t length = format.name_length_size == 1 ? def.U8(pos) : def.U16(pos);
  pos += format.name_length_size;
  std::string name = text.DecodeName(def.Slice(pos, length));
  pos += length;
  return name;
}

ColumnDefinition ReadColumn(const ByteView& def, const Format& format, std::size_t at) {
  ColumnDefinition c;
  c.type_code = def.U8(at);
  auto type = ColumnTypeFromCode(c.type_code);
  if (!type) def.Fail("a column has the unknown type code " + std::to_string(c.type_code));
  c.type = *type;
  c.number = def.U16(at + format.column_number);
  c.var_index = def.U16(at + format.column_var_index);
  c.row_number = def.U16(at + format.column_row_number);
  c.precision = def.U8(at + format.column_precision);
  c.scale = def.U8(at + format.column_scale);
  c.flags = def.U8(at + format.column_flags);
  if (format.column_ext_flags != 0) c.ext_flags = def.U8(at + format.column_ext_flags);
  c.fixed_offset = def.U16(at + format.column_fixed_offset);
  c.length = def.U16(at + format.column_length);
  return c;
}

std::size_t ColumnByNumber(const ByteView& def, const TableDefinition& table,
                           std::uint16_t number) {
  for (std::size_t i = 0; i < table.columns.size(); ++i) {
    if (table.columns[i].number == number) return i;
  }
  def.Fail("an index names column number " + std::to_string(number) + ", which the table lacks");
}

void ReadPhysicalIndexes(const ByteView& def, const Format& format, std::size_t count,
                         std::size_t& pos, TableDefinition& table) {
  for (std::size_t i = 0; i < count; ++i) {
    PhysicalIndex index;
    std::size_t at = pos + format.real_index_skip;
    for (std::size_t slot = 0; slot < kIndexColumnSlots; ++slot) {
      std::uint16_t number = def.U16(at + slot * 3);
      std::uint8_t order = def.U8(at + slot * 3 + 2);
      if (number == kNoColumn) continue;
      index.columns.push_back({number, ColumnByNumber(def, table, number), (order & 0x01) != 0});
    }
    at += kIndexColumnSlots * 3;
    index.usage_map = ReadStoredRowPointer(def, at);
    index.root_page = def.U32(at + 4);
    index.flags = def.U8(at + 8 + format.real_index_flags_skip);
    index.entry_count = def.U32(format.tdef_header_size + i * format.tdef_index_count_entry + 4);
    table.physical_indexes.push_back(std::move(index));
    pos += format.real_index_entry_size;
  }
}

void ReadLogicalIndexes(const ByteView& def, const Format& format, const TextCodec& text,
                        std::size_t count, std::size_t& pos, TableDefinition& table) {
  for (std::size_t i = 0; i < count; ++i) {
    std::size_t at = pos + format.logical_index_skip;
    LogicalIndex index;
    index.number = def.I32(at);
    index.physical = def.U32(at + 4);
    index.related_table_kind = def.U8(at + 8);
    index.related_index = def.I32(at + 9);
    index.related_table_page = def.U32(at + 13);
    index.cascade_updates = def.U8(at + 17) != 0;
    index.cascade_deletes = def.U8(at + 18) != 0;
    index.kind = static_cast<IndexKind>(def.U8(at + 19));
    if (index.physical >= table.physical_indexes.size()) {
      def.Fail("index " + std::to_string(i) + " refers to physical index " +
               std::to_string(index.physical) + " of " +
               std::to_string(table.physical_indexes.size()));
    }
    table.logical_indexes.push_back(std::move(index));
    pos += format.logical_index_entry_size;
  }
  for (auto& index : table.logical_indexes) index.name = ReadName(def, format, text, pos);
}

}  // namespace

std::optional<std::size_t> TableDefinition::FindColumn(std::string_view name) const {
  auto lower = [](std::string_view s) {
    std::string out(s);
    for (char& c : out) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    return out;
  };
  std::string wanted = lower(name);
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (lower(columns[i].name) == wanted) return i;
  }
  return std::nullopt;
}

TableDefinition ReadTableDefinition(Pager& pager, const TextCodec& text, std::uint32_t page) {
  const Format& format = pager.format();
  TableDefinition table;
  table.page = page;
  std::vector<std::byte> joined = JoinPages(pager, page, table.pages);
  ByteView def(joined, Where{pager.file_name(), page});

  table.row_count = def.U32(format.tdef_row_count);
  table.next_autonumber = def.U32(format.tdef_autonumber);
  table.table_type = def.U8(format.tdef_table_type);
  table.max_columns = def.U16(format.tdef_max_columns);
  table.var_column_count = def.U16(format.tdef_var_columns);
  std::size_t column_count = def.U16(format.tdef_columns);
  std::size_t logical_count = def.U32(format.tdef_logical_indexes);
  std::size_t physical_count = def.U32(format.tdef_real_indexes);
  if (logical_count > kMaxIndexes || physical_count > kMaxIndexes) {
    def.Fail("the index counts are implausible");
  }
  table.owned_pages = ReadStoredRowPointer(def, format.tdef_owned_pages);
  table.free_space_pages = ReadStoredRowPointer(def, format.tdef_free_pages);

  std::size_t pos = format.tdef_header_size + physical_count * format.tdef_index_count_entry;
  for (std::size_t i = 0; i < column_count; ++i) {
    table.columns.push_back(ReadColumn(def, format, pos));
    pos += format.column_entry_size;
  }
  for (auto& column : table.columns) column.name = ReadName(def, format, text, pos);
  ReadPhysicalIndexes(def, format, physical_count, pos, table);
  ReadLogicalIndexes(def, format, text, logical_count, pos, table);
  return table;
}

}  // namespace mdb
