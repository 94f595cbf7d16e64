// mdbtool: lists, describes, exports and dumps the tables of a Jet (.mdb)
// database through the engine's read half.

#include <CLI/CLI.hpp>
#include <iostream>
#include <nlohmann/json.hpp>
#include <string>

#include "mdb/database.h"
#include "stream_file.h"
#include "value_text.h"

namespace {

mdb::Database OpenDatabase(const std::string& path) {
  return mdb::Database::Open(mdbtool::OpenForReading(path), path);
}

std::vector<std::string> TableNames(mdb::Database& db, const std::string& only) {
  if (!only.empty()) return {db.Find(only).name};
  std::vector<std::string> names;
  for (const mdb::CatalogEntry* e : db.Tables()) names.push_back(e->name);
  return names;
}

void ListTables(const std::string& path, bool system) {
  mdb::Database db = OpenDatabase(path);
  for (const auto& e : db.catalog()) {
    bool table = e.kind == mdb::ObjectKind::kTable;
    if (e.kind == mdb::ObjectKind::kOther || (table && e.system && !system)) continue;
    std::cout << e.name;
    if (!table) std::cout << "\t(" << mdb::ObjectKindName(e.kind) << ")";
    std::cout << "\n";
  }
}

void ExportCsv(const std::string& path, const std::string& name) {
  mdb::Database db = OpenDatabase(path);
  mdb::Table table = db.OpenTable(name);
  const auto& columns = table.definition().columns;
  for (std::size_t i = 0; i < columns.size(); ++i) {
    std::cout << (i ? "," : "") << mdbtool::QuoteCsv(columns[i].name);
  }
  std::cout << "\n";
  table.Scan([&](mdb::RowPointer, mdb::Row&& row) {
    for (std::size_t i = 0; i < row.size(); ++i) {
      std::cout << (i ? "," : "") << mdbtool::ValueToCsv(row[i]);
    }
    std::cout << "\n";
  });
}

// The definitions as JSON, with every row when with_rows is set.
void Dump(const std::string& path, const std::string& only, bool with_rows) {
  mdb::Database db = OpenDatabase(path);
  nlohmann::json out;
  out["format"] = std::string(db.format().name());
  out["code_page"] = db.header().code_page;
  out["sort_order"] = db.header().sort_order;
  out["tables"] = nlohmann::json::array();
  for (const std::string& name : TableNames(db, only)) {
    mdb::Table table = db.OpenTable(name);
    nlohmann::json t;
    t["name"] = name;
    t["columns"] = nlohmann::json::array();
    for (const auto& c : table.definition().columns)
      t["columns"].push_back(mdbtool::ColumnToJson(c));
    t["indexes"] = mdbtool::IndexesToJson(table.definition());
    if (!with_rows) {
      out["tables"].push_back(t);
      continue;
    }
    nlohmann::json rows = nlohmann::json::array();
    table.Scan([&](mdb::RowPointer, mdb::Row&& row) {
      nlohmann::json r = nlohmann::json::array();
      for (const auto& v : row) r.push_back(mdbtool::ValueToJson(v));
      rows.push_back(std::move(r));
    });
    t["rows"] = std::move(rows);
    out["tables"].push_back(t);
  }
  // Definitions alone are read by people, so they are indented; dumps stay compact.
  std::cout << (with_rows ? out.dump() : out.dump(2)) << "\n";
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Reads Jet (.mdb) databases of Access 97 to 2003."};
  app.require_subcommand(1);
  std::string file;
  std::string table;
  bool system = false;

  auto* tables = app.add_subcommand("tables", "List the tables (and linked tables, queries)");
  tables->add_option("FILE", file)->required();
  tables->add_flag("--system", system, "Also list the system tables");
  auto* schema = app.add_subcommand("schema", "Describe the tables as JSON");
  schema->add_option("FILE", file)->required();
  schema->add_option("TABLE", table);
  auto* exporter = app.add_subcommand("export", "Write a table as CSV with a header row");
  exporter->add_option("FILE", file)->required();
  exporter->add_option("TABLE", table)->required();
  auto* dump = app.add_subcommand("dump", "Write tables with their rows as JSON");
  dump->add_option("FILE", file)->required();
  dump->add_option("TABLE", table);

  CLI11_PARSE(app, argc, argv);
  try {
    if (*tables) ListTables(file, system);
    if (*schema) Dump(file, table, /*with_rows=*/false);
    if (*exporter) ExportCsv(file, table);
    if (*dump) Dump(file, table, /*with_rows=*/true);
  } catch (const platform::Failure& failure) {
    std::cerr << "mdbtool: error " << failure.number() << " (" << failure.source()
              << "): " << failure.description() << "\n";
    return 1;
  }
  return 0;
}
