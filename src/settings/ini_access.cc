#include "settings/ini_access.h"

#include "diagnostics/procedure.h"
#include "diagnostics/runtime_error.h"
#include "platform/profile_file.h"
#include "platform/windows1252.h"

namespace settings {
namespace {

// The caller's default of a text read: 255 blanks, which the service strips.
const std::string kBlankDefault(255, ' ');

}  // namespace

std::string LoadIniString(shell::RunState& state, std::string_view section, std::string_view key,
                          std::string_view file) {
  diagnostics::Procedure proc(state, "LoadIniString");
  std::string result;
  proc.Step(
      [&] { result = platform::ReadProfileString(state.env, section, key, kBlankDefault, file); });
  return result;
}

std::int16_t LoadIniInteger(shell::RunState& state, std::string_view section, std::string_view key,
                            std::string_view file) {
  diagnostics::Procedure proc(state, "LoadIniInteger");
  std::int16_t result = 0;
  proc.Step([&] {
    const platform::ProfileInteger read =
        platform::ReadProfileInt(state.env, section, key, -1, file);
    if (read.overflow) {
      diagnostics::RaiseRuntimeError(
          state.env, platform::err::kOverflow,
          "Overflow: the value of " + std::string(key) + " does not fit a 32-bit integer");
    }
    result = diagnostics::ToInt16(state.env, read.value);
  });
  return result;
}

bool LoadIniBoolean(shell::RunState& state, std::string_view section, std::string_view key,
                    std::string_view file) {
  diagnostics::Procedure proc(state, "LoadIniBoolean");
  std::string value;
  bool result = false;
  proc.Step(
      [&] { value = platform::ReadProfileString(state.env, section, key, kBlankDefault, file); });
  proc.Step([&] { result = platform::UpperCase(value) == "TRUE"; });
  return result;
}

std::int16_t SaveIni(shell::RunState& state, std::string_view value, std::string_view section,
                     std::string_view key, std::string_view file) {
  diagnostics::Procedure proc(state, "SaveIni");
  std::int16_t result = 0;
  proc.Step(
      [&] { result = platform::WriteProfileString(state.env, section, key, value, file) ? 1 : 0; });
  return result;
}

}  // namespace settings
