// The first steps of the database job: paths, name form, and the end of the
// job when there is no source database.

#include "presets/work_on_mdb.h"

#include <gtest/gtest.h>

#include "shell/run_fixture.h"

namespace {

struct NameFormCase {
  bool integrated;
  const char* program_ini;  // nullptr: none
  int system_index;
};

class NameFormTest : public testrun::RunFixture,
                     public ::testing::WithParamInterface<NameFormCase> {};

TEST_P(NameFormTest, SystemIndexAndNoFileChanges) {
  const auto& c = GetParam();
  if (c.program_ini) {
    env.PutFile(testrun::kProgramIni, c.program_ini);
    state.ProgramIniPath = testrun::kProgramIni;
  }
  env.PutFile(testrun::kCfg, "[Project]\r\n");
  state.integrated = c.integrated;
  const auto before = env.FilePaths();
  presets::WorkOnMDB(state);
  EXPECT_EQ(state.SystemIndex, c.system_index);
  EXPECT_EQ(env.FilePaths(), before);
  EXPECT_EQ(Bytes(testrun::kCfg), "[Project]\r\n");
  EXPECT_TRUE(env.MessageBoxes().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Modes, NameFormTest,
    ::testing::Values(NameFormCase{false, nullptr, 0},
                      NameFormCase{false, "[Project]\r\nVWStudio=True\r\n", 1},
                      NameFormCase{false, "[project]\r\nvwstudio= true \r\n", 1},
                      NameFormCase{false, "[Project]\r\nVWStudio=1\r\n", 0},
                      NameFormCase{false, "[Project]\r\n", 0},
                      NameFormCase{true, "[Project]\r\nVWStudio=True\r\n", 0}));

}  // namespace
