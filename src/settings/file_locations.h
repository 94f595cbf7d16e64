#pragma once
// Where every file of the run lies. Each call derives its path anew and,
// where the file must exist, probes it again.

#include <string>
#include <string_view>

#include "shell/run_state.h"

namespace settings {

// True when the path is not empty and names an ordinary file.
bool FileExists(shell::RunState& state, std::string_view path);

// <project>\parameter\kv9configuration.ini, or empty when absent.
std::string GetKV9ConfigurationIniPath(shell::RunState& state);
// Integrated: <SaveAndRestore>\parameter\program.ini; else
// <project>\parameter\Program.ini; empty when absent.
std::string GetProgramIniPath(shell::RunState& state);
// <unit>\<ocx>.cfg; ends the program with a report when the file is absent.
std::string GetCFGPath(shell::RunState& state);
// <unit>\<ocx>.mdb, not probed.
std::string GetPathOCXMDB(shell::RunState& state);
// <unit>\<ocx>_Source.mdb, or empty when absent.
std::string GetPathSourceOCXMDB(shell::RunState& state);
// <SaveAndRestore>\<ocx>\<ocx>.mdb, or empty when absent; a probe that
// cannot be made counts as found.
std::string GetPathMachineCopyMDB(shell::RunState& state, std::string_view configuration_ini);

}  // namespace settings
