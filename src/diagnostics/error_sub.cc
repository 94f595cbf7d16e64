#include "diagnostics/error_sub.h"

#include <string>

#include "diagnostics/log_files.h"
#include "platform/env.h"
#include "settings/program_identity.h"

namespace diagnostics {
namespace {

constexpr std::string_view kBreak = "\n\r";

// Marks the run as reporting for the lifetime of one report.
class ReportingScope {
 public:
  explicit ReportingScope(shell::RunState& state) : state_(state), outer_(state.reporting) {
    state_.reporting = true;
  }
  ~ReportingScope() { state_.reporting = outer_; }
  ReportingScope(const ReportingScope&) = delete;
  ReportingScope& operator=(const ReportingScope&) = delete;

 private:
  shell::RunState& state_;
  bool outer_;
};

}  // namespace

std::string ErrorLogLine(std::string_view ocx_name, std::int32_t number, std::string_view source,
                         std::string_view description, std::string_view procedure_name) {
  std::string line = "Fehler in ";
  line += ocx_name;
  line += " / ";
  line += source;
  line += " / ";
  line += procedure_name;
  line += " (Nr. " + std::to_string(number) + ") :";
  line += description;
  return line;
}

int ErrorSub(shell::RunState& state, std::int32_t number, std::string_view source,
             std::string_view description, std::string_view procedure_name, bool fatal) {
  ++state.failure_reports;
  ReportingScope scope(state);
  // The reporter derives the OCX name without the handler of GetOCXName, so
  // that a name too short to derive it from cannot report itself again.
  const std::string ocx_name =
      settings::OcxNameOf(state.env.ExecutableName()).value_or(std::string());
  const std::string notice =
      WriteErrorLog(state, ErrorLogLine(ocx_name, number, source, description, procedure_name));

  std::string report = "Unexpected error!";
  report += kBreak;
  report += description;
  report += kBreak;
  report += notice;

  if (state.silent) {
    WriteFaultLog(state, report);
    return kGoOn;
  }
  if (!fatal) {
    const int answer =
        state.env.MessageBox(report + std::string(kBreak) + "Resume?", "Unexpected error",
                             platform::mb::kYesNo | platform::mb::kIconError);
    return answer == platform::mb::kIdNo ? kEndProgram : kGoOn;
  }
  state.env.MessageBox(report, "Fatal error", platform::mb::kOk | platform::mb::kIconError);
  return kEndProgram;
}

void EndProgram(shell::RunState& state) {
  state.env.ExitProcess(kEndedEarly);
}

}  // namespace diagnostics
