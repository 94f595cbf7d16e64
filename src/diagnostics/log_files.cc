#include "diagnostics/log_files.h"

#include "platform/windows1252.h"
#include "settings/program_identity.h"
#include "shell/command_line.h"

namespace diagnostics {
namespace {

// One entry: the text in the single-byte code page, then CR LF.
void AppendEntry(platform::Env& env, std::string_view path, std::string_view text) {
  env.AppendToFile(path, platform::Utf8ToWindows1252(text) + "\r\n");
}

}  // namespace

std::string ErrorLogPath(shell::RunState& state) {
  const std::string project_folder = settings::ProjectFolder(state);
  if (state.integrated) return shell::GetPathLogfile(state);
  return project_folder + state.env.PathSeparator() + "KV9cfglog.txt";
}

std::string WriteErrorLog(shell::RunState& state, std::string_view text) {
  const std::string path = ErrorLogPath(state);
  AppendEntry(state.env, path, text);
  return "Error logged to \n\r" + platform::UpperCase(path);
}

void ReportFault(shell::RunState& state, std::string_view text) {
  if (state.silent) {
    WriteFaultLog(state, text);
    return;
  }
  state.env.MessageBox(text, state.env.ExecutableName(),
                       platform::mb::kOk | platform::mb::kIconError);
}

void WriteFaultLog(shell::RunState& state, std::string_view text) {
  AppendEntry(state.env, state.env.ServicePackLogPath(),
              "! Fault " + state.env.ExecutableName() + ": " + std::string(text));
}

}  // namespace diagnostics
