#include "shell/cancel_confirmation.h"

#include "diagnostics/log_files.h"
#include "settings/program_identity.h"

namespace shell {
namespace {

constexpr std::string_view kBreak = "\n\r";
constexpr char kQuote = '"';

}  // namespace

std::string CancelQuestionText(RunState& state) {
  std::string text = "Cancel edits?";
  text += kBreak;
  text += "Remark:";
  text += kBreak;
  text += "Until now no changes have been taken over ";
  if (state.integrated) {
    text += kBreak;
    text += kQuote + settings::GetOCXName(state) + kQuote;
    text += " has to be configured again in ";
    text += "\"standalone-mode\"";
    text += " via ";
    text += kBreak;
    text += kQuote + state.env.ProgramFolder() + state.env.PathSeparator() +
            state.env.ExecutableFileName() + kQuote;
  }
  return text;
}

bool ConfirmCancel(RunState& state) {
  const std::string question = CancelQuestionText(state);
  if (state.silent) {
    diagnostics::WriteFaultLog(state, question);
    return true;
  }
  const int answer = state.env.MessageBox(
      question, "Cancel?",
      platform::mb::kYesNo | platform::mb::kIconWarning | platform::mb::kDefButton2);
  if (answer != platform::mb::kIdYes) return false;
  diagnostics::WriteErrorLog(
      state, "Konfigurations-EXE wurde abgebrochen:     " + settings::GetOCXName(state));
  return true;
}

}  // namespace shell
