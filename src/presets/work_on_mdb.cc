#include "presets/work_on_mdb.h"

#include "diagnostics/procedure.h"
#include "settings/file_locations.h"
#include "settings/ini_access.h"

namespace presets {

void WorkOnMDB(shell::RunState& state) {
  diagnostics::Procedure proc(state, "WorkOnMDB");
  const bool integrated = state.integrated;
  std::string source_path;
  std::string ocx_path;
  std::string configuration_ini;
  std::string machine_copy_path;
  proc.Step([&] { source_path = settings::GetPathSourceOCXMDB(state); });
  proc.Step([&] { ocx_path = settings::GetPathOCXMDB(state); });
  proc.Step([&] { configuration_ini = settings::GetKV9ConfigurationIniPath(state); });
  proc.Step([&] { machine_copy_path = settings::GetPathMachineCopyMDB(state, configuration_ini); });

  if (proc.If([&] { return integrated; })) {
    proc.Step([&] { state.SystemIndex = 0; });
  } else {
    proc.Step([&] {
      state.SystemIndex =
          settings::LoadIniBoolean(state, "Project", "VWStudio", state.ProgramIniPath) ? 1 : 0;
    });
  }

  if (proc.If([&] { return source_path.empty(); })) return;
  // The rebuild of PRESET_DEFS, the takeover and the copy over the OCX
  // database follow here.
}

}  // namespace presets
