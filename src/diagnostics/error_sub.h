#pragma once
// The one reporter of failures, and the end of the program.

#include <cstdint>
#include <string_view>

#include "shell/run_state.h"

namespace diagnostics {

inline constexpr int kEndProgram = 1;
inline constexpr int kGoOn = 2;

// Exit status of a run that ended early (EndProgram, missing CFG file, a
// granted close request).
inline constexpr int kEndedEarly = 2;

// The line the error log receives for one failure.
std::string ErrorLogLine(std::string_view ocx_name, std::int32_t number, std::string_view source,
                         std::string_view description, std::string_view procedure_name);

// Writes the error log, asks the user (or writes the service-pack log in
// silent mode) and returns kEndProgram or kGoOn.
int ErrorSub(shell::RunState& state, std::int32_t number, std::string_view source,
             std::string_view description, std::string_view procedure_name, bool fatal);

// Ends the process at once; no later step of any caller runs.
void EndProgram(shell::RunState& state);

}  // namespace diagnostics
