// Captions and tool tips from the language INI, and its completion.

#include "texts/language_texts.h"

#include <gtest/gtest.h>

#include "shell/run_fixture.h"

namespace {

constexpr char kFirstRun[] =
    "[Language]\r\nLanguage=1031\r\n[1031]\r\nTTT_MainFrame_=0\r\nCaption_CommandOK_=\r\n"
    "Help1=0\r\nTTT_CommandOK_=0\r\nCaption_CommandCancel_=\r\nHelp2=0\r\n"
    "TTT_CommandCancel_=0\r\nCaption_CommandQuest_=\r\nTTT_CommandQuest_=0\r\n"
    "Caption_Header_=316_Orlix - Konfiguration D\xFCsenbeleimung 316\r\nTTT_Header_=0\r\n";

class LanguageTest : public testrun::RunFixture {
 protected:
  std::string Design(const char* control) { return shell::MakeMainWindow().Find(control).caption; }
};

TEST_F(LanguageTest, FirstRunWritesEveryKeyAndKeepsTheDesignTexts) {
  texts::LoadToolTipTexts(state);
  EXPECT_EQ(Bytes(testrun::kLanguageIni), kFirstRun);
  EXPECT_EQ(window.Find("Header").caption, Design("Header"));
  EXPECT_EQ(window.Find("Header").tool_tip, "");
  EXPECT_TRUE(env.MessageBoxes().empty());
}

TEST_F(LanguageTest, SecondRunLeavesTheFileAsItWas) {
  texts::LoadToolTipTexts(state);
  shell::Window again = shell::MakeMainWindow();
  shell::RunState second(env, again);
  texts::LoadToolTipTexts(second);
  EXPECT_EQ(Bytes(testrun::kLanguageIni), kFirstRun);
}

TEST_F(LanguageTest, OtherLanguageWritesZeroForEveryMissingText) {
  env.PutFile(testrun::kLanguageIni, "[Language]\r\nLanguage=1033\r\n");
  texts::LoadToolTipTexts(state);
  EXPECT_EQ(Bytes(testrun::kLanguageIni),
            "[Language]\r\nLanguage=1033\r\n[1033]\r\nTTT_MainFrame_=0\r\nCaption_CommandOK_=0\r\n"
            "Help1=0\r\nTTT_CommandOK_=0\r\nCaption_CommandCancel_=0\r\nHelp2=0\r\n"
            "TTT_CommandCancel_=0\r\nCaption_CommandQuest_=0\r\nTTT_CommandQuest_=0\r\n"
            "Caption_Header_=0\r\nTTT_Header_=0\r\n");
  EXPECT_EQ(window.Find("Header").caption, Design("Header"));
}

TEST_F(LanguageTest, TextsOfTheLanguageAreApplied) {
  env.PutFile(testrun::kLanguageIni,
              "[Language]\r\nLanguage=1033\r\n[1033]\r\nCaption_Header_=Glue unit\r\n"
              "TTT_CommandOK_=Start\r\nCaption_CommandOK_=OK\r\nHelp1=Runs the job\r\n");
  texts::LoadToolTipTexts(state);
  EXPECT_EQ(window.Find("Header").caption, "Glue unit");
  EXPECT_EQ(window.Find("CommandOK").caption, "OK");
  EXPECT_EQ(window.Find("CommandOK").tool_tip, "Start");
  EXPECT_NE(Bytes(testrun::kLanguageIni).find("Help1=Runs the job\r\n"), std::string::npos);
}

TEST_F(LanguageTest, ZeroCaptionIsReplacedByTheDesignCaptionOnlyIn1031) {
  env.PutFile(testrun::kLanguageIni,
              "[Language]\r\nLanguage=1031\r\n[1031]\r\nCaption_Header_=0\r\n");
  texts::LoadToolTipTexts(state);
  EXPECT_NE(Bytes(testrun::kLanguageIni)
                .find("Caption_Header_=316_Orlix - Konfiguration D\xFCsenbeleimung 316\r\n"),
            std::string::npos);

  env.PutFile(testrun::kLanguageIni, "[Language]\r\nLanguage=2\r\n[2]\r\nCaption_Header_=0\r\n");
  shell::Window w2 = shell::MakeMainWindow();
  shell::RunState s2(env, w2);
  texts::LoadToolTipTexts(s2);
  EXPECT_TRUE(Bytes(testrun::kLanguageIni)
                  .starts_with("[Language]\r\nLanguage=2\r\n[2]\r\nCaption_Header_=0\r\n"));
}

TEST_F(LanguageTest, NotttTagSuppressesTheToolTipKeyOnly) {
  window.Find("Header").tag = "big nottt label";
  texts::LoadToolTipTexts(state);
  const std::string file = Bytes(testrun::kLanguageIni);
  EXPECT_NE(file.find("Caption_Header_big nottt label="), std::string::npos);
  EXPECT_EQ(file.find("TTT_Header_"), std::string::npos);
}

TEST_F(LanguageTest, ArrayMembersCarryTheirIndex) {
  shell::Control second = window.Find("CommandQuest");
  window.Find("CommandQuest").index = 0;
  second.index = 1;
  window.controls.push_back(second);
  texts::LoadToolTipTexts(state);
  const std::string file = Bytes(testrun::kLanguageIni);
  EXPECT_NE(file.find("Caption_CommandQuest0_="), std::string::npos);
  EXPECT_NE(file.find("TTT_CommandQuest1_=0"), std::string::npos);
  EXPECT_EQ(file.find("Caption_CommandQuest_="), std::string::npos);
}

TEST_F(LanguageTest, EmptyLanguageEntryBecomes1031) {
  env.PutFile(testrun::kLanguageIni, "[Language]\r\nLanguage=\r\n");
  EXPECT_EQ(texts::GetLanguage(state), "1031");
  EXPECT_TRUE(Bytes(testrun::kLanguageIni).starts_with("[Language]\r\nLanguage=1031\r\n"));
}

}  // namespace
