// The built program run as a process on a project tree in a temporary folder:
// <tmp>/Bin/316_Orlix_Config, <tmp>/parameter/..., <tmp>/316_Orlix/316_Orlix.cfg.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <sstream>
#include <string>

#include "platform/windows1252.h"
#include "support/shared_data.h"

namespace fs = std::filesystem;

namespace {

constexpr char kTwoMachines[] =
    "[Project]\r\nNumberOfMachines=2\r\n[Machine1]\r\nMachineName=Line A\r\n"
    "[Machine2]\r\nMachineName=Line B\r\n";
constexpr char kCfg[] = "[Project]\r\nValidMachines=ALL\r\n";
constexpr char kStandaloneInfo[] = "[Info]\r\nS_Prog=2.0.0 - Standalone\r\nS_Editor=666768\r\n";
constexpr char kLanguageIni[] =
    "[Language]\r\nLanguage=1031\r\n[1031]\r\nTTT_MainFrame_=0\r\nCaption_CommandOK_=\r\n"
    "Help1=0\r\nTTT_CommandOK_=0\r\nCaption_CommandCancel_=\r\nHelp2=0\r\n"
    "TTT_CommandCancel_=0\r\nCaption_CommandQuest_=\r\nTTT_CommandQuest_=0\r\n"
    "Caption_Header_=316_Orlix - Konfiguration D\xFCsenbeleimung 316\r\nTTT_Header_=0\r\n";

std::string Quoted(const std::string& text) {
  return "'" + text + "'";
}

class ProgramRun : public ::testing::Test {
 protected:
  void SetUp() override {
    executable_ = testsupport::BinaryDir() / "src" / "316_Orlix_Config";
    if (!fs::exists(executable_)) GTEST_SKIP() << "not built: " << executable_;
    std::random_device random;
    root_ = fs::temp_directory_path() /
            ("orlix_e2e_" + std::to_string(random()) + "_" + std::to_string(random()));
    fs::create_directories(root_ / "Bin");
    fs::create_directories(root_ / "parameter");
    fs::create_directories(root_ / "316_Orlix");
    fs::copy_file(executable_, root_ / "Bin" / "316_Orlix_Config");
    Put("parameter/Program.ini", kTwoMachines);
    Put("316_Orlix/316_Orlix.cfg", kCfg);
  }

  void TearDown() override {
    if (!root_.empty()) fs::remove_all(root_);
  }

  void Put(const std::string& relative, const std::string& bytes) {
    std::ofstream(root_ / relative, std::ios::binary) << bytes;
  }

  std::optional<std::string> Read(const std::string& relative) const {
    std::ifstream in(root_ / relative, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  // Runs the program with the answers and close request given; the exit status.
  int Run(const std::string& arguments, const std::string& answers = "",
          std::optional<int> close_at = std::nullopt) {
    std::string command =
        "cd " + Quoted(root_.string()) + " && setsid -w env -i ORLIX_E2E_USER=abc";
    command += " ORLIXCFG_ANSWERS=" + Quoted(answers);
    command += " ORLIXCFG_TRANSCRIPT=" + Quoted((root_ / "transcript.jsonl").string());
    command += " ORLIXCFG_SERVICEPACK_LOG=" + Quoted((root_ / "VelmorServicePack.log").string());
    if (close_at) command += " ORLIXCFG_CLOSE_AT=" + std::to_string(*close_at);
    command += " " + Quoted((root_ / "Bin" / "316_Orlix_Config").string()) + " " + arguments;
    command += " </dev/null 2>" + Quoted((root_ / "stderr.txt").string());
    command += "; echo $? >" + Quoted((root_ / "status.txt").string());
    std::system(command.c_str());
    return std::stoi(Read("status.txt").value_or("-1"));
  }

  std::string Upper(const fs::path& path) const { return platform::UpperCase(path.string()); }
  std::string ErrorLogNotice() const {
    return "Error logged to \\n\\r" + Upper(root_ / "KV9cfglog.txt");
  }
  std::string Transcript() const { return Read("transcript.jsonl").value_or(""); }
  std::string Cfg() const { return Read("316_Orlix/316_Orlix.cfg").value_or("<absent>"); }

  fs::path executable_;
  fs::path root_;
};

TEST_F(ProgramRun, StandaloneRunWritesTheEditInfoAndTheLanguageIni) {
  EXPECT_EQ(Run(""), 0) << Read("stderr.txt").value_or("");
  EXPECT_EQ(Transcript(), "");
  EXPECT_EQ(Cfg(), std::string(kCfg) + kStandaloneInfo);
  EXPECT_EQ(Read("Bin/316_Orlix_Config.ini"), kLanguageIni);
  EXPECT_FALSE(Read("KV9cfglog.txt").has_value());

  // A second run leaves the language INI byte for byte as it was.
  EXPECT_EQ(Run(""), 0);
  EXPECT_EQ(Read("Bin/316_Orlix_Config.ini"), kLanguageIni);
  EXPECT_EQ(Cfg(), std::string(kCfg) + kStandaloneInfo);
}

TEST_F(ProgramRun, IntegratedRunReadsTheConfigurationIni) {
  Put("parameter/kv9configuration.ini", "[Common]\r\nNameM1=Line A\r\nNameM2=-\r\n");
  fs::create_directories(root_ / "logs");
  EXPECT_EQ(Run("/EXTERNAL=KV9CFG /LOGFILE=" + (root_ / "logs" / "cfg.log").string()), 0);
  EXPECT_EQ(Transcript(), "");
  EXPECT_EQ(Cfg(),
            std::string(kCfg) + "[Info]\r\nS_Prog=2.0.0 - Integrated\r\nS_Editor=666768\r\n");
}

TEST_F(ProgramRun, IntegratedRunReportsIntoTheLogfileOfItsSwitch) {
  // No configuration INI: no machine list, so the window set-up reports.
  fs::create_directories(root_ / "logs");
  EXPECT_EQ(Run("/EXTERNAL=KV9CFG /LOGFILE=" + (root_ / "logs" / "cfg.log").string(), "yes"), 1);
  // The switch value comes upper-cased; the folders resolve whatever their
  // letter case, the new file keeps the letters given.
  EXPECT_TRUE(
      Read("logs/CFG.LOG")
          .value_or("")
          .starts_with("Fehler in 316_Orlix / 316_Orlix_Config / SetupUserInterFace (Nr. 9) :"));
  EXPECT_FALSE(Read("KV9cfglog.txt").has_value());
  EXPECT_NE(Transcript().find("Error logged to \\n\\r" + Upper(root_ / "logs" / "cfg.log")),
            std::string::npos)
      << Transcript();
}

TEST_F(ProgramRun, MissingCfgFileShowsItsPathAndEnds) {
  fs::remove(root_ / "316_Orlix" / "316_Orlix.cfg");
  EXPECT_EQ(Run(""), 2);
  EXPECT_EQ(Transcript(),
            "{\"title\":\"316_Orlix_Config\",\"flags\":16,\"text\":\"File not found: \\n\\r" +
                Upper(root_ / "316_Orlix" / "316_Orlix.cfg") + "\",\"answer\":\"ok\"}\n");
  EXPECT_EQ(Cfg(), "<absent>");
}

TEST_F(ProgramRun, NoMachineIsReportedAndTheRunGoesOn) {
  fs::remove(root_ / "parameter" / "Program.ini");
  EXPECT_EQ(Run("", "yes"), 1);
  const std::string line = Read("KV9cfglog.txt").value_or("");
  const std::string head = "Fehler in 316_Orlix / 316_Orlix_Config / SetupUserInterFace (Nr. 9) :";
  ASSERT_TRUE(line.starts_with(head)) << line;
  ASSERT_TRUE(line.ends_with("\r\n"));
  const std::string description = line.substr(head.size(), line.size() - head.size() - 2);
  EXPECT_EQ(Transcript(),
            "{\"title\":\"Unexpected error\",\"flags\":20,\"text\":\"Unexpected error!\\n\\r" +
                description + "\\n\\r" + ErrorLogNotice() +
                "\\n\\rResume?\",\"answer\":\"yes\"}\n");
  EXPECT_EQ(Cfg(), std::string(kCfg) + kStandaloneInfo);
}

TEST_F(ProgramRun, FailureAnsweredNoEndsWithoutEditInfo) {
  fs::remove(root_ / "parameter" / "Program.ini");
  EXPECT_EQ(Run("", "no"), 2);
  EXPECT_NE(Transcript().find("\"answer\":\"no\""), std::string::npos);
  EXPECT_EQ(Cfg(), kCfg);
}

TEST_F(ProgramRun, SilentRunLogsTheReportInsteadOfAskingAndGoesOn) {
  fs::remove(root_ / "parameter" / "Program.ini");
  EXPECT_EQ(Run("/EXTERNAL=SILENT"), 1);
  EXPECT_EQ(Transcript(), "");
  const std::string log = Read("KV9cfglog.txt").value_or("");
  const std::string head = "Fehler in 316_Orlix / 316_Orlix_Config / SetupUserInterFace (Nr. 9) :";
  ASSERT_TRUE(log.starts_with(head)) << log;
  const std::string description = log.substr(head.size(), log.size() - head.size() - 2);
  EXPECT_EQ(Read("VelmorServicePack.log"), "! Fault 316_Orlix_Config: Unexpected error!\n\r" +
                                               description + "\n\rError logged to \n\r" +
                                               Upper(root_ / "KV9cfglog.txt") + "\r\n");
  EXPECT_EQ(Cfg(), std::string(kCfg) + kStandaloneInfo);
}

constexpr char kCancelQuestion[] =
    "Cancel edits?\\n\\rRemark:\\n\\rUntil now no changes have been taken over ";

TEST_F(ProgramRun, GrantedCloseRequestEndsTheRun) {
  EXPECT_EQ(Run("", "yes", 1), 2);
  EXPECT_EQ(Transcript(), std::string("{\"title\":\"Cancel?\",\"flags\":308,\"text\":\"") +
                              kCancelQuestion + "\",\"answer\":\"yes\"}\n");
  EXPECT_EQ(Read("KV9cfglog.txt"), "Konfigurations-EXE wurde abgebrochen:     316_Orlix\r\n");
  EXPECT_EQ(Cfg(), kCfg);
}

TEST_F(ProgramRun, RefusedCloseRequestLetsTheRunGoOn) {
  EXPECT_EQ(Run("", "no", 1), 0);
  EXPECT_EQ(Transcript(), std::string("{\"title\":\"Cancel?\",\"flags\":308,\"text\":\"") +
                              kCancelQuestion + "\",\"answer\":\"no\"}\n");
  EXPECT_FALSE(Read("KV9cfglog.txt").has_value());
  EXPECT_EQ(Cfg(), std::string(kCfg) + kStandaloneInfo);
}

TEST_F(ProgramRun, UnansweredCloseRequestTakesNo) {
  EXPECT_EQ(Run("", "", 1), 0);
  EXPECT_NE(Transcript().find("\"answer\":\"no\""), std::string::npos);
}

TEST_F(ProgramRun, CommandLineKeyAtTheEndIsReportedUnderReadCommand) {
  EXPECT_EQ(Run("/EXTERNAL", "yes"), 1);
  EXPECT_TRUE(Read("KV9cfglog.txt")
                  .value_or("")
                  .starts_with("Fehler in 316_Orlix / 316_Orlix_Config / ReadCommand (Nr. 5) :"));
  EXPECT_EQ(Cfg(), std::string(kCfg) + kStandaloneInfo);
}

}  // namespace

namespace {

// An error log that cannot be written (integrated mode with LOGFILE as the
// last text, so its value cannot be read): the report cannot be made, and the
// run ends early instead of reporting the reporter's own failure again and again.
TEST_F(ProgramRun, UnwritableErrorLogEndsTheRunEarly) {
  EXPECT_EQ(Run("/EXTERNAL=KV9CFG /LOGFILE", "yes,yes,yes"), 2);
  EXPECT_EQ(Transcript(), "");
  EXPECT_EQ(Cfg(), kCfg);
  EXPECT_FALSE(Read("stderr.txt").value_or("").empty());
}

}  // namespace
