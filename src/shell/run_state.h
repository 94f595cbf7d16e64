#pragma once
// The run-wide state of one run: set during the load step and the database
// job, read until the program ends. Passed by reference to the procedures.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/env.h"
#include "shell/window.h"

namespace shell {

struct SourceFileTimesRecord {
  bool saved = false;
  platform::FileTimes times;
};

struct RunState {
  RunState(platform::Env& e, Window& w) : env(e), window(w) {}

  platform::Env& env;
  Window& window;

  bool integrated = false;
  bool silent = false;

  // Slots 1..N hold the machine names, slot 0 stays empty; no list while no
  // machine is configured.
  std::optional<std::vector<std::string>> MachineNames;
  std::string ProgramIniPath;

  std::vector<std::string> AdditionalFields;
  std::string AdditionalFieldsSql;
  std::int16_t AdditionalFieldsCount = 0;

  std::int16_t SystemIndex = 0;
  // [system index][part 1..50]; column 0 unused.
  std::array<std::array<std::string, 51>, 2> VarNamePatterns;
  SourceFileTimesRecord SourceFileTimes;

  // How many failure reports the run has made (decides the exit status).
  int failure_reports = 0;
  // True while a failure is being reported: a failure inside the reporting
  // path is not reported through it again.
  bool reporting = false;
};

// Lets pending window messages run once: a pending close request runs the
// window's close-request handler now.
void DoEvents(RunState& state);

}  // namespace shell
