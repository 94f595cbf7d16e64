#include "mdb/database.h"

#include <algorithm>

#include "mdb/errors.h"
#include "mdb/record.h"
#include "mdb/table_scan.h"

namespace mdb {
namespace {

bool SameName(std::string_view a, std::string_view b) {
  auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [&](char x, char y) { return lower(x) == lower(y); });
}

constexpr std::uint32_t kLeastPages = 3;  // header, global usage map, catalog

}  // namespace

Database Database::Open(platform::Env& env, std::string_view path) {
  if (!env.IsOrdinaryFile(path)) {
    ThrowFailure(dao::kFileNotFound, "Could not find file '" + std::string(path) + "'.");
  }
  return Open(env.OpenFile(path, platform::OpenMode::kRead), std::string(path));
}

Database Database::Open(std::unique_ptr<platform::File> file, std::string name) {
  std::uint64_t size = file->Size();
  std::vector<std::byte> probe(std::min<std::uint64_t>(size, kHeaderProbeSize));
  if (!probe.empty()) file->Read(0, probe);
  const Format& format = DetectFormat(probe, name);
  if (size < std::uint64_t{format.page_size} * kLeastPages || size % format.page_size != 0) {
    ThrowFailure(dao::kCorruptDatabase,
                 "The database '" + name + "' is truncated: " + std::to_string(size) +
                     " bytes is not a whole number of " + std::to_string(format.page_size) +
                     "-byte pages (at least " + std::to_string(kLeastPages) + ").");
  }
  auto pager = std::make_unique<Pager>(std::move(file), std::move(name), format);
  PageRef page0 = pager->Read(0, 0);
  DatabaseHeader header = ParseHeader(*page0, pager->file_name());
  return Database(std::move(pager), header);
}

Database::Database(std::unique_ptr<Pager> pager, DatabaseHeader header)
    : pager_(std::move(pager)),
      header_(header),
      text_(*header.format, header.code_page),
      catalog_(ReadCatalog(*pager_, text_)) {}

std::vector<const CatalogEntry*> Database::Tables(bool include_system) const {
  std::vector<const CatalogEntry*> out;
  for (const auto& e : catalog_) {
    if (e.kind == ObjectKind::kTable && (include_system || !e.system)) out.push_back(&e);
  }
  return out;
}

const CatalogEntry& Database::Find(std::string_view name) const {
  for (const auto& e : catalog_) {
    if (e.kind != ObjectKind::kOther && SameName(e.name, name)) return e;
  }
  ThrowFailure(dao::kObjectNotFound, "The database '" + file_name() + "' has no table or query '" +
                                         std::string(name) + "'.");
}

Table Database::OpenTable(std::string_view name) {
  const CatalogEntry& entry = Find(name);
  if (entry.kind != ObjectKind::kTable) {
    ThrowFailure(dao::kItemNotFound, "'" + entry.name + "' in '" + file_name() + "' is a " +
                                         std::string(ObjectKindName(entry.kind)) +
                                         ", not a local table.");
  }
  return Table(*this, entry.name, ReadTableDefinition(*pager_, text_, entry.table_page));
}

void Table::Scan(const std::function<void(RowPointer, Row&&)>& visit) {
  ScanRows(db_->pager(), definition_, [&](RowPointer at, const ByteView& bytes) {
    visit(at, DecodeRecord(definition_, db_->pager(), db_->text(), bytes));
  });
}

std::vector<Row> Table::ReadAll() {
  std::vector<Row> rows;
  Scan([&](RowPointer, Row&& row) { rows.push_back(std::move(row)); });
  return rows;
}

std::optional<Row> Table::ReadRow(RowPointer at) {
  PageRef keep;
  std::optional<ByteView> bytes = ResolveRow(db_->pager(), at, definition_.page, keep);
  if (!bytes) return std::nullopt;
  return DecodeRecord(definition_, db_->pager(), db_->text(), *bytes);
}

}  // namespace mdb
