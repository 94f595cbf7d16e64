#pragma once
// The two append-only logs: the error log and the service-pack log. The
// writers have no failure handling of their own: a log that cannot be written
// fails their caller's step.

#include <string>
#include <string_view>

#include "shell/run_state.h"

namespace diagnostics {

// Where the error log lies: the LOGFILE switch in integrated mode, else the
// project folder's KV9cfglog.txt.
std::string ErrorLogPath(shell::RunState& state);

// Appends the text as one entry to the error log; returns the notice
// "Error logged to " LF CR and the log path in upper case.
std::string WriteErrorLog(shell::RunState& state, std::string_view text);

// Silent mode: the text into the service-pack log; otherwise a critical box
// titled with the executable name.
void ReportFault(shell::RunState& state, std::string_view text);

// Appends "! Fault <executable name>: <text>" to the service-pack log.
void WriteFaultLog(shell::RunState& state, std::string_view text);

}  // namespace diagnostics
