#pragma once
// The edit-info record of the CFG file: [Info] S_Prog and S_Editor.

#include <string>
#include <string_view>

#include "shell/run_state.h"

namespace settings {

// "2.0.0 - Integrated" or "2.0.0 - Standalone".
std::string ProgramVersionText(bool integrated);

// For each character of the value part of the first environment entry except
// "-" and "_": its Windows-1252 code plus 5 in upper-case hexadecimal.
std::string EditorCode(std::string_view first_environment_entry);

void WriteEditInfo(shell::RunState& state);

}  // namespace settings
