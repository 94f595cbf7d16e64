// The mdbtool executable: its JSON dump and CSV export of a sample table,
// and its report of a failure.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "support/shared_data.h"

namespace {

struct ToolRun {
  int status = 0;
  std::string out;
};

ToolRun RunTool(const std::string& arguments) {
  auto tool = testsupport::BinaryDir() / "tools" / "mdbtool";
  auto out = std::filesystem::temp_directory_path() /
             ("mdbtool_test_" + std::to_string(std::hash<std::string>{}(arguments)) + ".txt");
  std::string command = "'" + tool.string() + "' " + arguments + " > '" + out.string() + "' 2>&1";
  ToolRun run;
  run.status = std::system(command.c_str());
  std::ifstream in(out);
  std::stringstream text;
  text << in.rdbuf();
  run.out = text.str();
  std::filesystem::remove(out);
  return run;
}

std::string Sample(const char* name) {
  return "'" + (testsupport::AccessDataDir() / name).string() + "'";
}

TEST(MdbtoolTest, DumpsExportsAndReports) {
  ORLIX_REQUIRE_DIR(testsupport::AccessDataDir());
  if (!std::filesystem::exists(testsupport::BinaryDir() / "tools" / "mdbtool")) {
    GTEST_SKIP() << "mdbtool is not built";
  }
  ToolRun dump = RunTool("dump " + Sample("testV2000.mdb") + " Table1");
  ASSERT_EQ(dump.status, 0) << dump.out;
  EXPECT_NE(dump.out.find("\"format\":\"jet4\""), std::string::npos);
  EXPECT_NE(dump.out.find("[\"abcdefg\",\"hijklmnop\",2,222,333333333,444.555,"
                          "\"1974-09-21T00:00:00\",\"3.5000\",true]"),
            std::string::npos)
      << dump.out;

  ToolRun csv = RunTool("export " + Sample("testV1997.mdb") + " Table1");
  ASSERT_EQ(csv.status, 0) << csv.out;
  EXPECT_EQ(csv.out.substr(0, csv.out.find('\n')),
            "\"A\",\"B\",\"C\",\"D\",\"E\",\"F\",\"G\",\"H\",\"I\"");

  ToolRun missing = RunTool("export " + Sample("testV2000.mdb") + " NoSuchTable");
  EXPECT_NE(missing.status, 0);
  EXPECT_NE(missing.out.find("error 3011 (mdb)"), std::string::npos) << missing.out;
}

}  // namespace
