#pragma once
// The failure convention of every procedure: the procedure records its name,
// runs its steps through this object, and a failed step is reported through
// ErrorSub; the run then ends (EndProgram) or goes on with the next step.
//
// Only platform::Failure is handled. A failure inside the reporting path
// (ErrorSub and the log writers) leaves the handler and reaches the caller's
// handler as a failure of the calling step. Ending the program is not a
// failure and passes every handler.

#include <optional>
#include <string>
#include <utility>

#include "platform/error.h"
#include "shell/run_state.h"

namespace diagnostics {

class Procedure {
 public:
  Procedure(shell::RunState& state, std::string name) : state_(state), name_(std::move(name)) {}

  const std::string& Name() const { return name_; }

  // Runs one step; a failure is reported and the next step follows.
  template <typename Action>
  void Step(Action&& step) {
    try {
      std::forward<Action>(step)();
    } catch (const platform::Failure& failure) {
      Handle(failure);
    }
  }

  // The test of a conditional block; a failed test enters the block.
  template <typename Test>
  bool If(Test&& test) {
    try {
      return std::forward<Test>(test)();
    } catch (const platform::Failure& failure) {
      Handle(failure);
      return true;
    }
  }

  // The bound of a counted loop; a failed bound skips the loop (nullopt).
  template <typename Bound>
  auto LoopBound(Bound&& bound) -> std::optional<decltype(bound())> {
    try {
      return std::forward<Bound>(bound)();
    } catch (const platform::Failure& failure) {
      Handle(failure);
      return std::nullopt;
    }
  }

 private:
  // Reports the failure; ends the program when the user (or the report) says so.
  void Handle(const platform::Failure& failure);

  shell::RunState& state_;
  std::string name_;
};

}  // namespace diagnostics
