// The failure report: error-log line, message box or service-pack entry, and
// the decision.

#include "diagnostics/error_sub.h"

#include <gtest/gtest.h>

#include "diagnostics/log_files.h"
#include "diagnostics/procedure.h"
#include "shell/run_fixture.h"

namespace {

struct LineCase {
  int number;
  const char* source;
  const char* description;
  const char* line;
};

class ErrorLogLineTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(ErrorLogLineTest, Layout) {
  const auto& c = GetParam();
  EXPECT_EQ(
      diagnostics::ErrorLogLine("316_Orlix", c.number, c.source, c.description, "ReadCommand"),
      c.line);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ErrorLogLineTest,
    ::testing::Values(
        LineCase{5, "316_Orlix_Config", "Invalid",
                 "Fehler in 316_Orlix / 316_Orlix_Config / ReadCommand (Nr. 5) :Invalid"},
        LineCase{-2147217900, "DAO", "x",
                 "Fehler in 316_Orlix / DAO / ReadCommand (Nr. -2147217900) :x"},
        LineCase{9999, "S", "", "Fehler in 316_Orlix / S / ReadCommand (Nr. 9999) :"}));

class ErrorSubTest : public testrun::RunFixture {
 protected:
  int Report(bool fatal, const char* description = "Something failed") {
    return diagnostics::ErrorSub(state, 53, "Src", description, "GetCFGPath", fatal);
  }
  static constexpr char kReport[] =
      "Unexpected error!\n\rSomething failed\n\rError logged to \n\rD:\\PLANT\\KV9CFGLOG.TXT";
  static constexpr char kLine[] =
      "Fehler in 316_Orlix / Src / GetCFGPath (Nr. 53) :Something failed";
};

TEST_F(ErrorSubTest, ResumeYesGoesOn) {
  env.QueueAnswer(platform::mb::kIdYes);
  EXPECT_EQ(Report(false), 2);
  ASSERT_EQ(env.MessageBoxes().size(), 1u);
  EXPECT_EQ(env.MessageBoxes()[0].text, std::string(kReport) + "\n\rResume?");
  EXPECT_EQ(env.MessageBoxes()[0].title, "Unexpected error");
  EXPECT_EQ(env.MessageBoxes()[0].flags, 20);
  EXPECT_EQ(Bytes(testrun::kErrorLog), std::string(kLine) + "\r\n");
}

TEST_F(ErrorSubTest, ResumeNoEnds) {
  env.QueueAnswer(platform::mb::kIdNo);
  EXPECT_EQ(Report(false), 1);
}

TEST_F(ErrorSubTest, UnansweredResumeTakesYes) {
  EXPECT_EQ(Report(false), 2);
}

TEST_F(ErrorSubTest, FatalOffersNoChoice) {
  EXPECT_EQ(Report(true), 1);
  ASSERT_EQ(env.MessageBoxes().size(), 1u);
  EXPECT_EQ(env.MessageBoxes()[0].text, kReport);
  EXPECT_EQ(env.MessageBoxes()[0].title, "Fatal error");
  EXPECT_EQ(env.MessageBoxes()[0].flags, 16);
}

TEST_F(ErrorSubTest, SilentWritesTheServicePackLogEvenWhenFatal) {
  state.silent = true;
  EXPECT_EQ(Report(true), 2);
  EXPECT_TRUE(env.MessageBoxes().empty());
  EXPECT_EQ(Bytes(testrun::kServicePackLog),
            std::string("! Fault 316_Orlix_Config: ") + kReport + "\r\n");
  EXPECT_EQ(Bytes(testrun::kErrorLog), std::string(kLine) + "\r\n");
}

TEST_F(ErrorSubTest, EmptyDescriptionLeavesAnEmptySecondLine) {
  Report(false, "");
  EXPECT_EQ(env.MessageBoxes()[0].text,
            "Unexpected error!\n\r\n\rError logged to \n\rD:\\PLANT\\KV9CFGLOG.TXT\n\rResume?");
}

TEST_F(ErrorSubTest, TwoReportsAppendTwoEntries) {
  env.PutFile(testrun::kErrorLog, "old\r\n");
  Report(false);
  Report(false);
  EXPECT_EQ(Bytes(testrun::kErrorLog), "old\r\n" + std::string(kLine) + "\r\n" + kLine + "\r\n");
}

TEST_F(ErrorSubTest, LogTextIsWrittenInWindows1252) {
  diagnostics::ErrorSub(state, 1, "S", "Größe", "P", false);
  EXPECT_EQ(Bytes(testrun::kErrorLog),
            "Fehler in 316_Orlix / S / P (Nr. 1) :Gr\xF6\xDF"
            "e\r\n");
}

struct LogPathCase {
  const char* program_folder;
  const char* command_line;
  bool integrated;
  const char* log_path;
  const char* notice_path;
};

class LogPathTest : public testrun::RunFixture,
                    public ::testing::WithParamInterface<LogPathCase> {};

TEST_P(LogPathTest, ErrorLogPlaceAndNotice) {
  const auto& c = GetParam();
  env.SetProgramFolder(c.program_folder);
  env.AddFolder("C:\\Logs");
  env.SetCommandLine(c.command_line);
  state.integrated = c.integrated;
  EXPECT_EQ(diagnostics::WriteErrorLog(state, "x"),
            std::string("Error logged to \n\r") + c.notice_path);
  EXPECT_EQ(Bytes(c.log_path), "x\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    Modes, LogPathTest,
    ::testing::Values(LogPathCase{"D:\\Plant\\Bin", "", false, "D:\\Plant\\KV9cfglog.txt",
                                  "D:\\PLANT\\KV9CFGLOG.TXT"},
                      LogPathCase{"C:\\", "", false, "C:\\KV9cfglog.txt", "C:\\KV9CFGLOG.TXT"},
                      LogPathCase{"D:\\Plant\\Bin", "/EXTERNAL=KV9CFG /LOGFILE=C:\\Logs\\cfg.log",
                                  true, "C:\\Logs\\cfg.log", "C:\\LOGS\\CFG.LOG"},
                      LogPathCase{"D:\\Plant\\Bin", "/LOGFILE=C:\\Logs\\cfg.log", false,
                                  "D:\\Plant\\KV9cfglog.txt", "D:\\PLANT\\KV9CFGLOG.TXT"}));

class ProcedureTest : public testrun::RunFixture {
 protected:
  static void Fail() { throw platform::Failure(70, "Disk", "Permission denied"); }
};

TEST_F(ProcedureTest, FailedStepIsReportedUnderTheProcedureNameAndTheNextStepRuns) {
  diagnostics::Procedure p(state, "WorkOnMDB");
  std::vector<int> ran;
  p.Step([&] { ran.push_back(1); });
  p.Step([&] {
    Fail();
    ran.push_back(99);
  });
  p.Step([&] { ran.push_back(3); });
  EXPECT_EQ(ran, (std::vector<int>{1, 3}));
  EXPECT_EQ(Bytes(testrun::kErrorLog),
            "Fehler in 316_Orlix / Disk / WorkOnMDB (Nr. 70) :Permission denied\r\n");
}

TEST_F(ProcedureTest, FailedTestEntersTheBlockAndFailedBoundSkipsTheLoop) {
  diagnostics::Procedure p(state, "P");
  EXPECT_TRUE(p.If([]() -> bool {
    Fail();
    return false;
  }));
  EXPECT_FALSE(p.If([] { return false; }));
  EXPECT_FALSE(p.LoopBound([]() -> int {
                  Fail();
                  return 3;
                }).has_value());
  EXPECT_EQ(p.LoopBound([] { return 3; }), 3);
  EXPECT_EQ(env.MessageBoxes().size(), 2u);
}

TEST_F(ProcedureTest, AnswerNoEndsTheProgramAtOnce) {
  env.QueueAnswer(platform::mb::kIdNo);
  diagnostics::Procedure p(state, "P");
  bool later = false;
  EXPECT_THROW(
      {
        p.Step([] { Fail(); });
        later = true;
      },
      platform::ProcessExit);
  EXPECT_FALSE(later);
}

// A failure of the reporting path (the error log cannot be written) is not
// reported through it again: it leaves the procedure as a failure of its caller's step.
TEST_F(ProcedureTest, FailureWhileReportingPassesToTheCaller) {
  env.PutFile(testrun::kErrorLog, "", /*read_only=*/true);
  diagnostics::Procedure p(state, "P");
  EXPECT_THROW(p.Step([] { Fail(); }), platform::Failure);
  EXPECT_TRUE(env.MessageBoxes().empty());
}

}  // namespace
