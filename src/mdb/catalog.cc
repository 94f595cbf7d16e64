#include "mdb/catalog.h"

#include <optional>

#include "mdb/record.h"
#include "mdb/table_definition.h"
#include "mdb/table_scan.h"

namespace mdb {
namespace {

constexpr std::uint32_t kSystemFlags = 0x80000002;

ObjectKind KindFromType(std::int16_t type) {
  switch (type & 0x7FFF) {
    case 1:
      return ObjectKind::kTable;
    case 4:
      return ObjectKind::kLinkedOdbcTable;
    case 5:
      return ObjectKind::kQuery;
    case 6:
      return ObjectKind::kLinkedTable;
    default:
      return ObjectKind::kOther;
  }
}

template <typename T>
std::optional<T> Get(const Row& row, std::optional<std::size_t> column) {
  if (!column) return std::nullopt;
  if (const T* v = std::get_if<T>(&row[*column])) return *v;
  return std::nullopt;
}

std::string GetText(const Row& row, std::optional<std::size_t> column) {
  if (!column) return {};
  if (const Text* t = std::get_if<Text>(&row[*column])) return t->utf8;
  if (const Memo* m = std::get_if<Memo>(&row[*column])) return m->utf8;
  return {};
}

}  // namespace

std::string_view ObjectKindName(ObjectKind kind) {
  switch (kind) {
    case ObjectKind::kTable:
      return "table";
    case ObjectKind::kLinkedTable:
      return "linked table";
    case ObjectKind::kLinkedOdbcTable:
      return "linked ODBC table";
    case ObjectKind::kQuery:
      return "query";
    case ObjectKind::kOther:
      return "other";
  }
  return "other";
}

std::vector<CatalogEntry> ReadCatalog(Pager& pager, const TextCodec& text) {
  TableDefinition objects = ReadTableDefinition(pager, text, kCatalogPage);
  auto id = objects.FindColumn("Id");
  auto parent = objects.FindColumn("ParentId");
  auto name = objects.FindColumn("Name");
  auto type = objects.FindColumn("Type");
  auto flags = objects.FindColumn("Flags");
  auto database = objects.FindColumn("Database");
  auto foreign = objects.FindColumn("ForeignName");
  if (!id || !name || !type) {
    ThrowCorrupt(Where{pager.file_name(), kCatalogPage},
                 "the catalog lacks its Id, Name or Type column");
  }
  std::vector<CatalogEntry> entries;
  ScanRows(pager, objects, [&](RowPointer, const ByteView& bytes) {
    Row row = DecodeRecord(objects, pager, text, bytes);
    CatalogEntry e;
    e.name = GetText(row, name);
    e.id = Get<std::int32_t>(row, id).value_or(0);
    e.parent_id = Get<std::int32_t>(row, parent).value_or(0);
    e.type = Get<std::int16_t>(row, type).value_or(0);
    e.flags = static_cast<std::uint32_t>(Get<std::int32_t>(row, flags).value_or(0));
    e.kind = KindFromType(e.type);
    e.system = (e.flags & kSystemFlags) != 0 || e.name.starts_with("MSys");
    if (e.kind == ObjectKind::kTable) e.table_page = static_cast<std::uint32_t>(e.id) & 0x00FFFFFF;
    e.linked_database = GetText(row, database);
    e.foreign_name = GetText(row, foreign);
    entries.push_back(std::move(e));
  });
  return entries;
}

}  // namespace mdb
