// The load step as the whole run, against an in-memory project.

#include "shell/main_window.h"

#include <gtest/gtest.h>

#include "shell/run_fixture.h"

namespace {

constexpr char kTwoMachines[] =
    "[Project]\r\nNumberOfMachines=2\r\n[Machine1]\r\nMachineName=Line A\r\n"
    "[Machine2]\r\nMachineName=Line B\r\n";
constexpr char kCfgFile[] = "[Project]\r\nValidMachines=ALL\r\n";

class RunTest : public testrun::RunFixture {
 protected:
  RunTest() {
    env.PutFile(testrun::kProgramIni, kTwoMachines);
    env.PutFile(testrun::kCfg, kCfgFile);
    env.SetEnvironment({"USER=abc"});
  }

  // Runs the load step; the exit status the run ended with, or -1 when it returned.
  int Run() {
    try {
      shell::Form_Load(state);
    } catch (const platform::ProcessExit& exit) {
      return exit.status;
    }
    return -1;
  }

  bool CfgHasEditInfo() { return Bytes(testrun::kCfg).find("[Info]") != std::string::npos; }
};

TEST_F(RunTest, StandaloneRunEndsCleanlyThroughCloseMe) {
  EXPECT_EQ(Run(), 0);
  EXPECT_TRUE(env.MessageBoxes().empty());
  EXPECT_EQ(window.caption, "Erweiterte Konfiguration Bin - standalone");
  EXPECT_TRUE(window.Find("CommandOK").enabled);
  EXPECT_TRUE(window.Find("CommandCancel").enabled);
  EXPECT_EQ(window.mouse_pointer, shell::MousePointer::kDefault);
  ASSERT_TRUE(state.MachineNames.has_value());
  EXPECT_EQ(*state.MachineNames, (std::vector<std::string>{"", "Line A", "Line B"}));
  EXPECT_EQ(Bytes(testrun::kCfg),
            std::string(kCfgFile) + "[Info]\r\nS_Prog=2.0.0 - Standalone\r\nS_Editor=666768\r\n");
  EXPECT_EQ(Bytes(testrun::kErrorLog), "<absent>");
}

TEST_F(RunTest, IntegratedCaptionNamesTheProgramFolder) {
  env.SetProgramFolder("C:\\Plant\\HMI\\316_Orlix");
  env.AddFolder("C:\\Plant\\HMI\\316_Orlix");
  env.AddFolder("C:\\Plant\\HMI\\316_Orlix\\316_Orlix");
  env.PutFile("C:\\Plant\\HMI\\316_Orlix\\316_Orlix.cfg", kCfgFile);
  env.PutFile("C:\\Plant\\HMI\\parameter\\kv9configuration.ini", "[Common]\r\nNameM1=Line A\r\n");
  env.SetCommandLine("/EXTERNAL=KV9CFG /LOGFILE=C:\\Plant\\cfg.log");
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(window.caption, "Erweiterte Konfiguration 316_Orlix - integriert");
}

TEST_F(RunTest, ProgramFolderAtADriveRootLeavesTwoBlanks) {
  env.SetProgramFolder("C:\\");
  env.QueueAnswer(platform::mb::kIdYes);
  Run();
  EXPECT_EQ(window.caption, "Erweiterte Konfiguration  - standalone");
}

TEST_F(RunTest, SilentRunShowsNoBoxAndDisablesTheButtons) {
  env.SetCommandLine("/EXTERNAL=SILENT");
  EXPECT_EQ(Run(), 0);
  EXPECT_TRUE(env.MessageBoxes().empty());
  EXPECT_EQ(window.caption, "Erweiterte Konfiguration Bin - standalone");
  EXPECT_FALSE(window.Find("CommandOK").enabled);
  EXPECT_FALSE(window.Find("CommandCancel").enabled);
  EXPECT_TRUE(CfgHasEditInfo());
}

TEST_F(RunTest, NoMachineIsReportedBySetupUserInterFaceAndTheRunGoesOn) {
  env.RemoveFile(testrun::kProgramIni);
  env.QueueAnswer(platform::mb::kIdYes);
  EXPECT_EQ(Run(), 1);
  ASSERT_EQ(env.MessageBoxes().size(), 1u);
  EXPECT_EQ(env.MessageBoxes()[0].title, "Unexpected error");
  EXPECT_EQ(env.MessageBoxes()[0].flags, 20);
  const std::string log = Bytes(testrun::kErrorLog);
  EXPECT_TRUE(
      log.starts_with("Fehler in 316_Orlix / 316_Orlix_Config / SetupUserInterFace (Nr. 9) :"))
      << log;
  EXPECT_EQ(log.find("\r\n"), log.size() - 2) << "one entry only";
  EXPECT_TRUE(CfgHasEditInfo());
}

TEST_F(RunTest, FailureAnsweredNoEndsWithoutEditInfo) {
  env.RemoveFile(testrun::kProgramIni);
  env.QueueAnswer(platform::mb::kIdNo);
  EXPECT_EQ(Run(), 2);
  EXPECT_EQ(Bytes(testrun::kCfg), kCfgFile);
}

TEST_F(RunTest, MissingCfgFileShowsItsPathAndEnds) {
  env.RemoveFile(testrun::kCfg);
  EXPECT_EQ(Run(), 2);
  ASSERT_EQ(env.MessageBoxes().size(), 1u);
  EXPECT_EQ(env.MessageBoxes()[0].text, "File not found: \n\rD:\\PLANT\\316_ORLIX\\316_ORLIX.CFG");
  EXPECT_EQ(env.MessageBoxes()[0].title, "316_Orlix_Config");
  EXPECT_EQ(env.MessageBoxes()[0].flags, 16);
}

TEST_F(RunTest, MissingCfgFileInSilentModeIsLogged) {
  env.RemoveFile(testrun::kCfg);
  env.SetCommandLine("/EXTERNAL=SILENT");
  EXPECT_EQ(Run(), 2);
  EXPECT_TRUE(env.MessageBoxes().empty());
  EXPECT_EQ(
      Bytes(testrun::kServicePackLog),
      "! Fault 316_Orlix_Config: File not found: \n\rD:\\PLANT\\316_ORLIX\\316_ORLIX.CFG\r\n");
}

TEST_F(RunTest, GrantedCloseRequestEndsTheRunAtOnce) {
  env.RaiseCloseRequestAtPoll(1);
  env.QueueAnswer(platform::mb::kIdYes);
  EXPECT_EQ(Run(), 2);
  ASSERT_EQ(env.MessageBoxes().size(), 1u);
  EXPECT_EQ(env.MessageBoxes()[0].title, "Cancel?");
  EXPECT_EQ(Bytes(testrun::kErrorLog), "Konfigurations-EXE wurde abgebrochen:     316_Orlix\r\n");
  EXPECT_EQ(Bytes(testrun::kCfg), kCfgFile);
}

TEST_F(RunTest, RefusedCloseRequestLetsTheRunGoOn) {
  env.RaiseCloseRequestAtPoll(1);
  env.QueueAnswer(platform::mb::kIdNo);
  EXPECT_EQ(Run(), 0);
  ASSERT_EQ(env.MessageBoxes().size(), 1u);
  EXPECT_EQ(env.MessageBoxes()[0].title, "Cancel?");
  EXPECT_TRUE(CfgHasEditInfo());
}

TEST_F(RunTest, CloseRequestInSilentModeIsGrantedWithoutABox) {
  env.SetCommandLine("/EXTERNAL=SILENT");
  // The first polls come before the run mode is known; the sixth comes after.
  env.RaiseCloseRequestAtPoll(6);
  EXPECT_EQ(Run(), 2);
  EXPECT_TRUE(env.MessageBoxes().empty());
  EXPECT_TRUE(
      Bytes(testrun::kServicePackLog).starts_with("! Fault 316_Orlix_Config: Cancel edits?"));
}

TEST_F(RunTest, LanguageIniIsWrittenOnTheFirstRunAndKeptOnTheSecond) {
  EXPECT_EQ(Run(), 0);
  const std::string first = Bytes(testrun::kLanguageIni);
  EXPECT_EQ(first,
            "[Language]\r\nLanguage=1031\r\n[1031]\r\nTTT_MainFrame_=0\r\nCaption_CommandOK_=\r\n"
            "Help1=0\r\nTTT_CommandOK_=0\r\nCaption_CommandCancel_=\r\nHelp2=0\r\n"
            "TTT_CommandCancel_=0\r\nCaption_CommandQuest_=\r\nTTT_CommandQuest_=0\r\n"
            "Caption_Header_=316_Orlix - Konfiguration D\xFC"
            "senbeleimung 316\r\nTTT_Header_=0\r\n");

  shell::Window second_window = shell::MakeMainWindow();
  shell::RunState second(env, second_window);
  try {
    shell::Form_Load(second);
  } catch (const platform::ProcessExit&) {
  }
  EXPECT_EQ(Bytes(testrun::kLanguageIni), first);
}

}  // namespace
