#pragma once
// The switches of the command line (EXTERNAL, LOGFILE) and the run-mode flags.

#include <string>
#include <string_view>

#include "shell/run_state.h"

namespace shell {

// The value of the switch named by key: the text after the key's first
// occurrence and the one separator character behind it, trimmed, up to the
// next switch, upper-cased. Empty when the key does not occur.
std::string ReadCommand(RunState& state, std::string_view command_line, std::string_view key);

// Sets the integrated and silent flags from EXTERNAL; true in integrated mode.
bool GetStartModeIntegrated(RunState& state);

// The value of LOGFILE (empty when the switch is missing).
std::string GetPathLogfile(RunState& state);

}  // namespace shell
