// 316_Orlix_Config: the configuration extension of the 316_Orlix unit. The
// main window's load step is the run; it ends the process itself.

#include <cstdio>

#include "diagnostics/error_sub.h"
#include "platform/env.h"
#include "shell/main_window.h"
#include "shell/run_state.h"
#include "shell/window.h"

int main(int argc, char** argv) {
  const auto env = platform::MakeSystemEnv(argc, argv);
  shell::Window window = shell::MakeMainWindow();
  shell::RunState state(*env, window);
  try {
    shell::Form_Load(state);
  } catch (const platform::Failure& failure) {
    // A failure of the reporting path itself, which no handler takes.
    std::fprintf(stderr, "%s: run-time error %d (%s): %s\n", env->ExecutableName().c_str(),
                 failure.number(), failure.source().c_str(), failure.description().c_str());
  }
  env->ExitProcess(diagnostics::kEndedEarly);
}
