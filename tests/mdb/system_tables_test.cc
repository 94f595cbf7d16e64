// Every system table of the Access-written files scans: the catalog, the
// access-control entries and the tables with Access's own fixed binary column.

#include <gtest/gtest.h>

#include <memory>

#include "mdb/database.h"
#include "platform/env.h"
#include "support/shared_data.h"

namespace {

TEST(SystemTablesTest, EverySystemTableOfEveryFileScans) {
  ORLIX_REQUIRE_DIR(testsupport::AccessDataDir());
  char arg0[] = "mdb_tests";
  char* argv[] = {arg0, nullptr};
  std::unique_ptr<platform::Env> env = platform::MakeSystemEnv(1, argv);
  int scanned = 0;
  for (const auto& entry : std::filesystem::directory_iterator(testsupport::AccessDataDir())) {
    if (entry.path().extension() != ".mdb") continue;
    SCOPED_TRACE(entry.path().filename().string());
    mdb::Database db = mdb::Database::Open(*env, entry.path().string());
    for (const mdb::CatalogEntry* table : db.Tables(/*include_system=*/true)) {
      if (!table->system) continue;
      SCOPED_TRACE(table->name);
      EXPECT_NO_THROW(db.OpenTable(table->name).ReadAll());
      ++scanned;
    }
  }
  EXPECT_GT(scanned, 0) << "no system table found at all";
}

}  // namespace
