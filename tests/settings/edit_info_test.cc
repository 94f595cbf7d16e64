// The edit-info record: program version, run mode and editor code.

#include "settings/edit_info.h"

#include <gtest/gtest.h>

#include "shell/run_fixture.h"

namespace {

struct EditorCase {
  const char* entry;
  const char* code;
};

class EditorCodeTest : public ::testing::TestWithParam<EditorCase> {};

TEST_P(EditorCodeTest, CodesPlusFiveInHex) {
  EXPECT_EQ(settings::EditorCode(GetParam().entry), GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, EditorCodeTest,
    ::testing::Values(EditorCase{"USER=abc", "666768"}, EditorCase{"X=a-b_c", "666768"},
                      EditorCase{"abc", "666768"}, EditorCase{"", ""}, EditorCase{"X=", ""},
                      EditorCase{"X=-_-_", ""}, EditorCase{"X=a=b", "664267"},
                      EditorCase{"X=\xC3\xBF\xC3\xBB", "104100"},  // ÿ û: three digits
                      EditorCase{"X=\x01", "6"}, EditorCase{"X=Ä", "C9"}));

class WriteEditInfoTest : public testrun::RunFixture {};

TEST_F(WriteEditInfoTest, ReplacesOnlyItsTwoEntries) {
  env.PutFile(testrun::kCfg,
              "[Project]\r\nValidMachines=ALL\r\n[Info]\r\nS_Prog=1.0\r\nKeep=1\r\n");
  env.SetEnvironment({"HOME=abc"});
  state.integrated = true;
  settings::WriteEditInfo(state);
  EXPECT_EQ(Bytes(testrun::kCfg),
            "[Project]\r\nValidMachines=ALL\r\n[Info]\r\nS_Prog=2.0.0 - Integrated\r\nKeep=1\r\n"
            "S_Editor=666768\r\n");
}

TEST_F(WriteEditInfoTest, EmptyEnvironmentWritesAnEmptyEditorCode) {
  env.PutFile(testrun::kCfg, "");
  env.SetEnvironment({});
  settings::WriteEditInfo(state);
  EXPECT_EQ(Bytes(testrun::kCfg), "[Info]\r\nS_Prog=2.0.0 - Standalone\r\nS_Editor=\r\n");
}

TEST_F(WriteEditInfoTest, MissingCfgFileEndsTheProgramWithoutCreatingIt) {
  EXPECT_THROW(settings::WriteEditInfo(state), platform::ProcessExit);
  EXPECT_EQ(Bytes(testrun::kCfg), "<absent>");
}

}  // namespace
