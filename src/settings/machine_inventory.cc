#include "settings/machine_inventory.h"

#include "diagnostics/procedure.h"
#include "diagnostics/runtime_error.h"
#include "settings/file_locations.h"
#include "settings/ini_access.h"

namespace settings {
namespace {

constexpr int kMostIntegratedMachines = 5;

// Grows the list to the upper index (keeping its names) and stores the name.
void StoreMachineName(shell::RunState& state, int index, std::string name) {
  if (!state.MachineNames) state.MachineNames.emplace();
  state.MachineNames->resize(static_cast<std::size_t>(index) + 1);
  (*state.MachineNames)[static_cast<std::size_t>(index)] = std::move(name);
}

void ReadIntegratedMachines(shell::RunState& state, diagnostics::Procedure& proc,
                            std::string_view configuration_ini) {
  if (!proc.If([&] { return FileExists(state, configuration_ini); })) return;
  for (int i = 1; i <= kMostIntegratedMachines; ++i) {
    std::string name;
    proc.Step([&] {
      name = LoadIniString(state, "Common", "NameM" + std::to_string(i), configuration_ini);
    });
    if (proc.If([&] { return name == "-" || name.empty(); })) break;
    proc.Step([&] { StoreMachineName(state, i, name); });
  }
}

void ReadStandaloneMachines(shell::RunState& state, diagnostics::Procedure& proc) {
  std::int16_t count = 0;
  proc.Step(
      [&] { count = LoadIniInteger(state, "Project", "NumberOfMachines", state.ProgramIniPath); });
  for (std::int16_t i = 1; i <= count;) {
    proc.Step([&] {
      StoreMachineName(
          state, i,
          LoadIniString(state, "Machine" + std::to_string(i), "MachineName", state.ProgramIniPath));
    });
    // The loop counter is 16-bit like every counter of the program.
    std::int16_t next = i;
    proc.Step([&] { next = diagnostics::Increment16(state.env, i); });
    if (next == i) break;
    i = next;
  }
}

}  // namespace

void GetExistingMachines(shell::RunState& state, std::string_view configuration_ini) {
  diagnostics::Procedure proc(state, "GetExistingMachines");
  proc.Step([&] { state.ProgramIniPath = GetProgramIniPath(state); });
  if (proc.If([&] { return state.integrated; })) {
    ReadIntegratedMachines(state, proc, configuration_ini);
  } else {
    ReadStandaloneMachines(state, proc);
  }
}

std::string GetValidMachines(shell::RunState& state) {
  return LoadIniString(state, "Project", "ValidMachines", GetCFGPath(state));
}

std::int16_t MachineNamesUpperIndex(shell::RunState& state) {
  if (!state.MachineNames) {
    diagnostics::RaiseRuntimeError(state.env, platform::err::kSubscriptOutOfRange,
                                   "Subscript out of range: no machine is configured");
  }
  return static_cast<std::int16_t>(state.MachineNames->size() - 1);
}

}  // namespace settings
