#include "diagnostics/procedure.h"

#include "diagnostics/error_sub.h"

namespace diagnostics {

void Procedure::Handle(const platform::Failure& failure) {
  // Inside the reporting path the failure goes on to the caller that asked
  // for the report, as a failure of its step.
  if (state_.reporting) throw failure;
  const int decision =
      ErrorSub(state_, failure.number(), failure.source(), failure.description(), name_, false);
  if (decision == kEndProgram) EndProgram(state_);
}

}  // namespace diagnostics
