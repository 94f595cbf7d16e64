#pragma once
// The machines of the project: their names for the run, and the text that
// says which of them the unit serves.

#include <cstdint>
#include <string>
#include <string_view>

#include "shell/run_state.h"

namespace settings {

// Fills MachineNames and ProgramIniPath: in integrated mode from NameM1..NameM5
// of the configuration INI, otherwise from the program INI.
void GetExistingMachines(shell::RunState& state, std::string_view configuration_ini);

// [Project] ValidMachines of the CFG file. Has no failure handling of its own.
std::string GetValidMachines(shell::RunState& state);

// The upper index of MachineNames; a list that does not exist is a subscript
// error.
std::int16_t MachineNamesUpperIndex(shell::RunState& state);

}  // namespace settings
