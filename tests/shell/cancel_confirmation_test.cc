// The question asked when the window is closed from outside, per run mode.

#include "shell/cancel_confirmation.h"

#include <gtest/gtest.h>

#include "shell/main_window.h"
#include "shell/run_fixture.h"

namespace {

const std::string kQuestion =
    "Cancel edits?\n\rRemark:\n\rUntil now no changes have been taken over ";

class CancelTest : public testrun::RunFixture {};

TEST_F(CancelTest, StandaloneNoAsksThreeLinesAndLogsNothing) {
  env.QueueAnswer(platform::mb::kIdNo);
  EXPECT_FALSE(shell::ConfirmCancel(state));
  ASSERT_EQ(env.MessageBoxes().size(), 1u);
  EXPECT_EQ(env.MessageBoxes()[0].text, kQuestion);
  EXPECT_EQ(env.MessageBoxes()[0].title, "Cancel?");
  EXPECT_EQ(env.MessageBoxes()[0].flags, 308);
  EXPECT_EQ(Bytes(testrun::kErrorLog), "<absent>");
  EXPECT_EQ(Bytes(testrun::kServicePackLog), "<absent>");
}

TEST_F(CancelTest, StandaloneYesLogsTheCancel) {
  env.PutFile(testrun::kErrorLog, "earlier\r\n");
  env.QueueAnswer(platform::mb::kIdYes);
  EXPECT_TRUE(shell::ConfirmCancel(state));
  EXPECT_EQ(Bytes(testrun::kErrorLog),
            "earlier\r\nKonfigurations-EXE wurde abgebrochen:     316_Orlix\r\n");
}

TEST_F(CancelTest, UnansweredBoxTakesNo) {
  EXPECT_FALSE(shell::ConfirmCancel(state));
}

TEST_F(CancelTest, IntegratedNamesTheExecutableToStartByHand) {
  state.integrated = true;
  env.SetExecutable("316_Orlix_Config", "316_Orlix_Config.exe");
  env.QueueAnswer(platform::mb::kIdNo);
  shell::ConfirmCancel(state);
  ASSERT_EQ(env.MessageBoxes().size(), 1u);
  EXPECT_EQ(env.MessageBoxes()[0].text,
            kQuestion +
                "\n\r\"316_Orlix\" has to be configured again in \"standalone-mode\" via "
                "\n\r\"D:\\Plant\\Bin\\316_Orlix_Config.exe\"");
}

TEST_F(CancelTest, IntegratedAtADriveRootShowsTwoSeparators) {
  state.integrated = true;
  env.SetProgramFolder("C:\\");
  env.SetExecutable("316_Orlix_Config", "316_Orlix_Config.exe");
  EXPECT_TRUE(shell::CancelQuestionText(state).ends_with("\"C:\\\\316_Orlix_Config.exe\""))
      << shell::CancelQuestionText(state);
}

TEST_F(CancelTest, SilentLogsTheQuestionAndConfirms) {
  state.silent = true;
  EXPECT_TRUE(shell::ConfirmCancel(state));
  EXPECT_TRUE(env.MessageBoxes().empty());
  EXPECT_EQ(Bytes(testrun::kServicePackLog), "! Fault 316_Orlix_Config: " + kQuestion + "\r\n");
  EXPECT_EQ(Bytes(testrun::kErrorLog), "<absent>");
}

// A failure inside the confirmation (the error log cannot be written) is
// reported under the close handler, and the close is refused.
TEST_F(CancelTest, FailureInsideIsReportedUnderTheCloseHandlerAndRefusesTheClose) {
  env.PutFile(testrun::kErrorLog, "", /*read_only=*/true);
  env.QueueAnswer(platform::mb::kIdYes);  // Cancel? Yes
  env.QueueAnswer(platform::mb::kIdYes);  // Resume? Yes (the report itself fails again)
  bool refused = false;
  try {
    refused = shell::Form_QueryUnload(state);
  } catch (const platform::Failure&) {
    // The report could not be logged either: it passes on to the caller.
    refused = true;
  }
  EXPECT_TRUE(refused);
}

}  // namespace
