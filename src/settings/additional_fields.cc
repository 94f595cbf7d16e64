#include "settings/additional_fields.h"

#include "diagnostics/procedure.h"
#include "diagnostics/runtime_error.h"
#include "settings/file_locations.h"
#include "settings/ini_access.h"

namespace settings {

std::vector<std::string> GetAdditionalFieldsMDB(shell::RunState& state) {
  diagnostics::Procedure proc(state, "GetAdditionalFieldsMDB");
  std::vector<std::string> fields(1);
  std::string value;
  std::string working;
  proc.Step([&] {
    value = LoadIniString(state, "Project", "DataBaseAdditionalFields", GetCFGPath(state));
  });
  if (proc.If([&] { return !value.empty(); })) {
    working = "part," + value;
  } else {
    working = "part";
  }
  bool more = true;
  while (more) {
    proc.Step([&] { shell::DoEvents(state); });
    proc.Step([&] {
      diagnostics::ToInt16(state.env, static_cast<std::int64_t>(fields.size()));
      fields.emplace_back();
    });
    proc.Step([&] {
      const auto comma = working.find(',');
      if (comma != std::string::npos) {
        fields.back() = working.substr(0, comma);
        working.erase(0, comma + 1);
      } else {
        fields.back() = working;
        more = false;
      }
    });
  }
  return fields;
}

void GetAddFields(shell::RunState& state) {
  diagnostics::Procedure proc(state, "GetAddFields");
  proc.Step([&] { state.AdditionalFields = GetAdditionalFieldsMDB(state); });
  if (state.AdditionalFields.empty()) return;
  std::string sql;
  const std::size_t upper = state.AdditionalFields.size() - 1;
  for (std::size_t i = 1; i <= upper; ++i) sql += ", PRESET_DEFS." + state.AdditionalFields[i];
  proc.Step([&] {
    state.AdditionalFieldsSql = sql;
    state.AdditionalFieldsCount = diagnostics::ToInt16(state.env, static_cast<std::int64_t>(upper));
  });
}

}  // namespace settings
