#pragma once
// The catalog: the rows of the system table MSysObjects, whose definition is
// always on page 2. Each object has a name, a kind and, for local tables, the
// page of its table definition (the low 24 bits of its Id).

#include <cstdint>
#include <string>
#include <vector>

#include "mdb/pager.h"
#include "mdb/text_codec.h"

namespace mdb {

inline constexpr std::uint32_t kCatalogPage = 2;

enum class ObjectKind { kTable, kLinkedTable, kLinkedOdbcTable, kQuery, kOther };

struct CatalogEntry {
  std::string name;
  ObjectKind kind = ObjectKind::kOther;
  std::int32_t id = 0;
  std::int32_t parent_id = 0;
  std::int16_t type = 0;
  std::uint32_t flags = 0;
  std::uint32_t table_page = 0;  // local tables only
  bool system = false;
  std::string linked_database;  // linked tables: the database path
  std::string foreign_name;     // linked tables: the table's name there
};

std::vector<CatalogEntry> ReadCatalog(Pager& pager, const TextCodec& text);

std::string_view ObjectKindName(ObjectKind kind);

}  // namespace mdb
