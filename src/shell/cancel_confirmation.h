#pragma once
// The question asked when the window is to be closed from outside.

#include <string>

#include "shell/run_state.h"

namespace shell {

// "Cancel edits?" and its remark; in integrated mode also which executable
// has to be started by hand to configure the unit again.
std::string CancelQuestionText(RunState& state);

// True when cancelling is confirmed (always in silent mode, where the
// question goes to the service-pack log). Has no failure handling of its own.
bool ConfirmCancel(RunState& state);

}  // namespace shell
