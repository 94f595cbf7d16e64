#pragma once
// An open Jet database, read-only: its header, catalog and tables.
//
// Opening reads the header page and the catalog; a table's definition is
// read when the table is opened and its rows when they are asked for.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "mdb/catalog.h"
#include "mdb/header.h"
#include "mdb/pager.h"
#include "mdb/row_pointer.h"
#include "mdb/table_definition.h"
#include "mdb/text_codec.h"
#include "mdb/value.h"
#include "platform/env.h"

namespace mdb {

class Table;

class Database {
 public:
  // Opens the file at path (3024 when there is none).
  static Database Open(platform::Env& env, std::string_view path);
  // Opens an already opened file; name is used in messages.
  static Database Open(std::unique_ptr<platform::File> file, std::string name);

  const DatabaseHeader& header() const { return header_; }
  const Format& format() const { return *header_.format; }
  const std::vector<CatalogEntry>& catalog() const { return catalog_; }
  const std::string& file_name() const { return pager_->file_name(); }

  // Local tables in catalog order; system tables too when asked.
  std::vector<const CatalogEntry*> Tables(bool include_system = false) const;
  // The catalog entry of a table or query name (letter case ignored); 3011
  // when there is none.
  const CatalogEntry& Find(std::string_view name) const;
  // Opens a local table (3011 when there is none; a linked table or query is
  // refused with 3265).
  Table OpenTable(std::string_view name);

  Pager& pager() { return *pager_; }
  const TextCodec& text() const { return text_; }

 private:
  Database(std::unique_ptr<Pager> pager, DatabaseHeader header);

  std::unique_ptr<Pager> pager_;
  DatabaseHeader header_;
  TextCodec text_;
  std::vector<CatalogEntry> catalog_;
};

class Table {
 public:
  const std::string& name() const { return name_; }
  const TableDefinition& definition() const { return definition_; }

  // Every live row in stored order.
  void Scan(const std::function<void(RowPointer, Row&&)>& visit);
  std::vector<Row> ReadAll();
  // One row by its address; nullopt when it is deleted.
  std::optional<Row> ReadRow(RowPointer at);

 private:
  friend class Database;
  Table(Database& db, std::string name, TableDefinition definition)
      : db_(&db), name_(std::move(name)), definition_(std::move(definition)) {}

  Database* db_;
  std::string name_;
  TableDefinition definition_;
};

}  // namespace mdb
