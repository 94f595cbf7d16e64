#pragma once
// The database job of a run.
//
// For now the job resolves its paths, chooses the name form (SystemIndex) and
// ends when there is no source database; the rebuild of PRESET_DEFS, the
// takeover and the copy over the OCX database are still to come.

#include "shell/run_state.h"

namespace presets {

void WorkOnMDB(shell::RunState& state);

}  // namespace presets
