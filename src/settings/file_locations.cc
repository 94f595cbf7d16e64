#include "settings/file_locations.h"

#include "diagnostics/error_sub.h"
#include "diagnostics/log_files.h"
#include "diagnostics/procedure.h"
#include "platform/windows1252.h"
#include "settings/ini_access.h"
#include "settings/program_identity.h"

namespace settings {
namespace {

std::string Sep(shell::RunState& state) {
  return std::string(1, state.env.PathSeparator());
}

std::string UnitFolder(shell::RunState& state) {
  return ProjectFolder(state) + Sep(state) + GetOCXName(state);
}

std::string SaveAndRestoreFolder(shell::RunState& state, std::string_view configuration_ini) {
  return LoadIniString(state, "Common", "SaveAndRestore", configuration_ini);
}

// The folder followed by the rest, with one separator between them.
std::string InFolder(shell::RunState& state, const std::string& folder, std::string_view rest) {
  const bool ends_in_separator = !folder.empty() && folder.back() == state.env.PathSeparator();
  return folder + (ends_in_separator ? "" : Sep(state)) + std::string(rest);
}

// The path when its file is present, else an empty text.
std::string IfPresent(shell::RunState& state, diagnostics::Procedure& proc, std::string path) {
  std::string result;
  if (proc.If([&] { return FileExists(state, path); })) result = path;
  return result;
}

}  // namespace

bool FileExists(shell::RunState& state, std::string_view path) {
  return !path.empty() && state.env.IsOrdinaryFile(path);
}

std::string GetKV9ConfigurationIniPath(shell::RunState& state) {
  diagnostics::Procedure proc(state, "GetKV9ConfigurationIniPath");
  std::string path;
  proc.Step([&] {
    path = ProjectFolder(state) + Sep(state) + "parameter" + Sep(state) + "kv9configuration.ini";
  });
  return IfPresent(state, proc, path);
}

std::string GetProgramIniPath(shell::RunState& state) {
  diagnostics::Procedure proc(state, "GetProgramIniPath");
  std::string path;
  proc.Step([&] {
    if (state.integrated) {
      const std::string folder = SaveAndRestoreFolder(state, GetKV9ConfigurationIniPath(state));
      path = InFolder(state, folder, "parameter" + Sep(state) + "program.ini");
    } else {
      path = ProjectFolder(state) + Sep(state) + "parameter" + Sep(state) + "Program.ini";
    }
  });
  return IfPresent(state, proc, path);
}

std::string GetCFGPath(shell::RunState& state) {
  diagnostics::Procedure proc(state, "GetCFGPath");
  std::string path;
  proc.Step([&] { path = UnitFolder(state) + Sep(state) + GetOCXName(state) + ".cfg"; });
  if (!proc.If([&] { return FileExists(state, path); })) {
    proc.Step([&] {
      diagnostics::ReportFault(state, "File not found: \n\r" + platform::UpperCase(path));
    });
    diagnostics::EndProgram(state);
  }
  return path;
}

std::string GetPathOCXMDB(shell::RunState& state) {
  diagnostics::Procedure proc(state, "GetPathOCXMDB");
  std::string path;
  proc.Step([&] { path = UnitFolder(state) + Sep(state) + GetOCXName(state) + ".mdb"; });
  return path;
}

std::string GetPathSourceOCXMDB(shell::RunState& state) {
  diagnostics::Procedure proc(state, "GetPathSourceOCXMDB");
  std::string path;
  proc.Step([&] { path = UnitFolder(state) + Sep(state) + GetOCXName(state) + "_Source.mdb"; });
  return IfPresent(state, proc, path);
}

std::string GetPathMachineCopyMDB(shell::RunState& state, std::string_view configuration_ini) {
  diagnostics::Procedure proc(state, "GetPathMachineCopyMDB");
  std::string folder;
  std::string path;
  std::string result;
  proc.Step([&] { folder = SaveAndRestoreFolder(state, configuration_ini); });
  proc.Step([&] {
    const std::string ocx = GetOCXName(state);
    path = InFolder(state, folder, ocx + Sep(state) + ocx + ".mdb");
  });
  if (!path.empty()) {
    // A probe that cannot be made (an unavailable drive) counts as found.
    bool found = true;
    try {
      found = state.env.IsOrdinaryFile(path);
    } catch (const platform::Failure&) {
    }
    if (found) result = path;
  }
  return result;
}

}  // namespace settings
