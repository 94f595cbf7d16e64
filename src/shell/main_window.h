#pragma once
// The operations of the main window. Its load step is the run: it never
// returns, since CloseMe ends the program.

#include "shell/run_state.h"

namespace shell {

void Form_Load(RunState& state);
// Walks the machine slots; this window has no machine-dependent controls.
void SetupUserInterFace(RunState& state);
void CommandOK_Click(RunState& state);
// Runs the database job and the edit-info record, then ends the program.
void CloseMe(RunState& state);
void WriteInputs(RunState& state);
// A close request from outside; true when the close is refused.
bool Form_QueryUnload(RunState& state);

// Exit status of a run that ends through CloseMe.
int CloseMeExitStatus(const RunState& state);

}  // namespace shell
