#include "settings/edit_info.h"

#include <cstdio>

#include "diagnostics/procedure.h"
#include "platform/windows1252.h"
#include "settings/file_locations.h"
#include "settings/ini_access.h"

namespace settings {

std::string ProgramVersionText(bool integrated) {
  return std::to_string(ORLIX_VERSION_MAJOR) + "." + std::to_string(ORLIX_VERSION_MINOR) + "." +
         std::to_string(ORLIX_VERSION_PATCH) + (integrated ? " - Integrated" : " - Standalone");
}

std::string EditorCode(std::string_view first_environment_entry) {
  std::string_view value = first_environment_entry;
  if (const auto equals = value.find('='); equals != std::string_view::npos) {
    value.remove_prefix(equals + 1);
  }
  std::string code;
  for (const char byte : platform::Utf8ToWindows1252(value)) {
    if (byte == '-' || byte == '_') continue;
    char hex[8];
    std::snprintf(hex, sizeof hex, "%X",
                  static_cast<unsigned>(static_cast<unsigned char>(byte)) + 5);
    code += hex;
  }
  return code;
}

void WriteEditInfo(shell::RunState& state) {
  diagnostics::Procedure proc(state, "WriteEditInfo");
  proc.Step([&] {
    SaveIni(state, ProgramVersionText(state.integrated), "Info", "S_Prog", GetCFGPath(state));
  });
  std::string entry;
  proc.Step([&] { entry = state.env.FirstEnvironmentEntry().value_or(std::string()); });
  std::string code;
  proc.Step([&] { code = EditorCode(entry); });
  proc.Step([&] { SaveIni(state, code, "Info", "S_Editor", GetCFGPath(state)); });
}

}  // namespace settings
