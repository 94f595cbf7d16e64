#pragma once
// The further PRESET_DEFS columns that the CFG file names
// ([Project] DataBaseAdditionalFields), headed by "part".

#include <string>
#include <vector>

#include "shell/run_state.h"

namespace settings {

// Slot 0 empty, slot 1 "part", then the items between the commas as written.
std::vector<std::string> GetAdditionalFieldsMDB(shell::RunState& state);

// Sets AdditionalFields, AdditionalFieldsSql and AdditionalFieldsCount.
void GetAddFields(shell::RunState& state);

}  // namespace settings
