// Reading and writing profile entries with the program's defaults.

#include "settings/ini_access.h"

#include <gtest/gtest.h>

#include "shell/run_fixture.h"

namespace {

constexpr char kFile[] = "D:\\Plant\\parameter\\test.ini";

struct ReadCase {
  const char* content;  // the [Project] section's entry line, or "" for none
  const char* text;
  int integer;
  bool boolean;
};

const ReadCase kReadCases[] = {
    {"", "", -1, false},
    {"Key=", "", -1, false},
    {"Key=-1", "-1", -1, false},
    {"Key=abc", "abc", 0, false},
    {"Key=12abc", "12abc", 12, false},
    {"Key=  42  ", "42", 42, false},
    {"Key=true", "true", 0, true},
    {"Key=True", "True", 0, true},
    {"Key= TRUE ", "TRUE", 0, true},
    {"Key=1", "1", 1, false},
    {"Key=yes", "yes", 0, false},
    {"key=32767", "32767", 32767, false},
    {"KEY=-32768", "-32768", -32768, false},
};

class IniReadTest : public testrun::RunFixture, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(IniReadTest, TextIntegerAndBoolean) {
  env.PutFile(kFile, std::string("[project]\r\n") + GetParam().content + "\r\n");
  EXPECT_EQ(settings::LoadIniString(state, "Project", "Key", kFile), GetParam().text);
  EXPECT_EQ(settings::LoadIniInteger(state, "Project", "Key", kFile), GetParam().integer);
  EXPECT_EQ(settings::LoadIniBoolean(state, "Project", "Key", kFile), GetParam().boolean);
  EXPECT_TRUE(env.MessageBoxes().empty());
}

INSTANTIATE_TEST_SUITE_P(Values, IniReadTest, ::testing::ValuesIn(kReadCases));

class IniTest : public testrun::RunFixture {};

TEST_F(IniTest, MissingFileAndEmptyPathGiveTheDefaults) {
  for (const char* path : {kFile, ""}) {
    EXPECT_EQ(settings::LoadIniString(state, "Project", "Key", path), "");
    EXPECT_EQ(settings::LoadIniInteger(state, "Project", "Key", path), -1);
    EXPECT_FALSE(settings::LoadIniBoolean(state, "Project", "Key", path));
  }
  EXPECT_TRUE(env.MessageBoxes().empty());
}

TEST_F(IniTest, LongValueIsCutTo254Characters) {
  env.PutFile(kFile, "[S]\r\nK=" + std::string(300, 'x') + "\r\n");
  EXPECT_EQ(settings::LoadIniString(state, "S", "K", kFile), std::string(254, 'x'));
}

TEST_F(IniTest, ValueBeyond16BitsIsReportedAsOverflowAndGivesZero) {
  env.PutFile(kFile, "[S]\r\nK=40000\r\n");
  env.QueueAnswer(platform::mb::kIdYes);
  EXPECT_EQ(settings::LoadIniInteger(state, "S", "K", kFile), 0);
  ASSERT_EQ(env.MessageBoxes().size(), 1u);
  const std::string log = Bytes(testrun::kErrorLog);
  EXPECT_TRUE(log.starts_with("Fehler in 316_Orlix / 316_Orlix_Config / LoadIniInteger (Nr. 6) :"))
      << log;
}

TEST_F(IniTest, WindowsLettersAreReadBackAsWritten) {
  EXPECT_EQ(settings::SaveIni(state, "Düsenbeleimung", "Ü", "Größe", kFile), 1);
  EXPECT_EQ(Bytes(kFile),
            "[\xDC]\r\nGr\xF6\xDF"
            "e=D\xFCsenbeleimung\r\n");
  EXPECT_EQ(settings::LoadIniString(state, "ü", "GRÖßE", kFile), "Düsenbeleimung");
}

TEST_F(IniTest, SecondWriteReplacesTheValueInPlace) {
  env.PutFile(kFile, "; head\r\n[Info]\r\nS_Prog=1.0.0\r\nOther=x\r\n");
  EXPECT_EQ(settings::SaveIni(state, "2.0.0 - Standalone", "info", "s_prog", kFile), 1);
  EXPECT_EQ(settings::SaveIni(state, "2.0.0 - Integrated", "Info", "S_Prog", kFile), 1);
  EXPECT_EQ(Bytes(kFile), "; head\r\n[Info]\r\nS_Prog=2.0.0 - Integrated\r\nOther=x\r\n");
}

TEST_F(IniTest, WriteCreatesTheFileWithItsSection) {
  EXPECT_EQ(settings::SaveIni(state, "v", "Sec", "Key", kFile), 1);
  EXPECT_EQ(Bytes(kFile), "[Sec]\r\nKey=v\r\n");
}

TEST_F(IniTest, RefusedWriteGivesZeroWithoutAMessage) {
  env.PutFile(kFile, "[S]\r\nK=1\r\n", /*read_only=*/true);
  EXPECT_EQ(settings::SaveIni(state, "2", "S", "K", kFile), 0);
  EXPECT_EQ(settings::SaveIni(state, "2", "S", "K", "E:\\nowhere\\x.ini"), 0);
  EXPECT_EQ(Bytes(kFile), "[S]\r\nK=1\r\n");
  EXPECT_TRUE(env.MessageBoxes().empty());
}

// Files that are no proper profile files still read without a crash or a hang.
TEST_F(IniTest, OddFilesReadWithoutTrouble) {
  const std::string odd[] = {
      std::string("\0\xFF\x01[S]\0K=1", 9),
      "[S]\rK=cr only\r[T]\nK=lf\r\n",
      "[S]\r\nK=" + std::string(100000, 'y'),
      std::string(3 * 1024 * 1024, '['),
  };
  for (const auto& bytes : odd) {
    env.PutFile(kFile, bytes);
    settings::LoadIniString(state, "S", "K", kFile);
    settings::LoadIniInteger(state, "S", "K", kFile);
    EXPECT_EQ(settings::SaveIni(state, "v", "S", "K", kFile), 1);
    EXPECT_EQ(settings::LoadIniString(state, "S", "K", kFile), "v");
  }
}

}  // namespace
