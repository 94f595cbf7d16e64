// The EXTERNAL and LOGFILE switches and the run mode they choose.

#include "shell/command_line.h"

#include <gtest/gtest.h>

#include "shell/run_fixture.h"

namespace {

struct SwitchCase {
  const char* line;
  char separator;
  const char* external;  // value of EXTERNAL
  const char* logfile;   // value of LOGFILE
  bool integrated;
  bool silent;
};

const SwitchCase kSwitchCases[] = {
    {"", '\\', "", "", false, false},
    {"/external=silent", '\\', "SILENT", "", false, true},
    {"/EXTERNAL=KV9CFG", '\\', "KV9CFG", "", true, false},
    {"/EXTERNAL:KV9CFG", '\\', "KV9CFG", "", true, false},
    {"/EXTERNAL KV9CFG", '\\', "KV9CFG", "", true, false},
    {"/EXTERNAL=kv9cfg", '\\', "KV9CFG", "", true, false},
    {"/EXTERNAL=KV9CFG/LOGFILE=C:\\A.LOG", '\\', "KV9CFG", "C:\\A.LOG", true, false},
    {"/EXTERNAL=KV9CFG extra", '\\', "KV9CFG EXTRA", "", false, false},
    {"/LOGFILE=C:\\EXTERNAL\\x.log /EXTERNAL=KV9CFG", '\\', "X.LOG", "C:\\EXTERNAL\\X.LOG", false,
     false},
    {"/LOGFILE=C:\\Data\\Cfg Log.txt", '\\', "", "C:\\DATA\\CFG LOG.TXT", false, false},
    {"/EXTERNAL=", '\\', "", "", false, false},
    {"  /EXTERNAL=  SILENT  ", '\\', "SILENT", "", false, true},
    {"/EXTERNAL=OTHER", '\\', "OTHER", "", false, false},
    // Slash paths: a value ends only where the next switch starts.
    {"/EXTERNAL=KV9CFG/LOGFILE=/srv/log/a.log", '/', "KV9CFG", "/SRV/LOG/A.LOG", true, false},
    {"/LOGFILE=/srv/log/a.log /EXTERNAL=SILENT", '/', "SILENT", "/SRV/LOG/A.LOG", false, true},
    {"/EXTERNAL=KV9CFG /logfile=/var/log/x.txt", '/', "KV9CFG", "/VAR/LOG/X.TXT", true, false},
    {"/LOGFILE=/a/b/c", '/', "", "/A/B/C", false, false},
};

class SwitchTest : public ::testing::TestWithParam<SwitchCase> {};

TEST_P(SwitchTest, ValuesAndRunMode) {
  const SwitchCase& c = GetParam();
  platform::MemoryEnv env(c.separator);
  env.SetProgramFolder(c.separator == '\\' ? "D:\\Plant\\Bin" : "/plant/Bin");
  env.AddFolder(c.separator == '\\' ? "D:\\Plant\\Bin" : "/plant/Bin");
  env.SetCommandLine(c.line);
  shell::Window window = shell::MakeMainWindow();
  shell::RunState state(env, window);

  EXPECT_EQ(shell::ReadCommand(state, c.line, "EXTERNAL"), c.external);
  EXPECT_EQ(shell::ReadCommand(state, c.line, "LOGFILE"), c.logfile);
  EXPECT_EQ(shell::GetStartModeIntegrated(state), c.integrated);
  EXPECT_EQ(state.integrated, c.integrated);
  EXPECT_EQ(state.silent, c.silent);
  EXPECT_EQ(shell::GetPathLogfile(state), c.logfile);
  EXPECT_TRUE(env.MessageBoxes().empty()) << env.MessageBoxes().front().text;
}

INSTANTIATE_TEST_SUITE_P(CommandLines, SwitchTest, ::testing::ValuesIn(kSwitchCases));

class ReadCommandFailureTest : public testrun::RunFixture {};

// A key as the very last text asks for -1 characters: reported as error 5
// under ReadCommand, and the value is empty when the run goes on.
TEST_F(ReadCommandFailureTest, KeyAtTheEndIsReportedAndGivesAnEmptyValue) {
  env.SetCommandLine("/EXTERNAL");
  env.QueueAnswer(platform::mb::kIdYes);
  EXPECT_FALSE(shell::GetStartModeIntegrated(state));
  EXPECT_FALSE(state.integrated);
  EXPECT_FALSE(state.silent);
  ASSERT_EQ(env.MessageBoxes().size(), 1u);
  EXPECT_EQ(env.MessageBoxes()[0].title, "Unexpected error");
  const std::string log = Bytes(testrun::kErrorLog);
  EXPECT_TRUE(log.starts_with("Fehler in 316_Orlix / 316_Orlix_Config / ReadCommand (Nr. 5) :"))
      << log;
}

TEST_F(ReadCommandFailureTest, AnswerNoEndsTheRun) {
  env.SetCommandLine("/EXTERNAL");
  env.QueueAnswer(platform::mb::kIdNo);
  try {
    shell::GetStartModeIntegrated(state);
    FAIL() << "the run went on";
  } catch (const platform::ProcessExit& exit) {
    EXPECT_EQ(exit.status, 2);
  }
}

TEST_F(ReadCommandFailureTest, OneCharacterAfterTheKeyIsNoFailure) {
  EXPECT_EQ(shell::ReadCommand(state, "/EXTERNAL=", "EXTERNAL"), "");
  EXPECT_TRUE(env.MessageBoxes().empty());
  EXPECT_EQ(Bytes(testrun::kErrorLog), "<absent>");
}

}  // namespace
