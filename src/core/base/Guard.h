#pragma once

#include <exception>
#include <source_location>

namespace trelvin {

// Every handler runs its steps guarded: a step that cannot do its work has no effect and the
// handler goes on with its next step. A step signals failure by throwing (StepFailed, or whatever
// a library throws); Step() swallows it. Use one Step() per step of a handler, so the structure of
// the handler in the code is the list of its steps.
struct StepFailed : std::exception {
  const char* what() const noexcept override { return "step failed"; }
};

// Fails the current step unless `ok` holds.
inline void Require(bool ok) {
  if (!ok) throw StepFailed();
}

// Whether swallowed failures are traced: TRELVIN_TRACE=1 in the environment, read once.
bool StepTraceEnabled() noexcept;

// One line on standard error: where the failing step was written and what failed.
void TraceSwallowedFailure(const std::source_location& where, const char* what) noexcept;

// Runs one guarded step; returns whether it completed. `where` is the step's place in the source,
// for the trace.
template <class F>
bool Step(F&& step, std::source_location where = std::source_location::current()) noexcept {
  try {
    step();
    return true;
  } catch (const std::exception& failure) {
    if (StepTraceEnabled()) TraceSwallowedFailure(where, failure.what());
    return false;
  } catch (...) {
    if (StepTraceEnabled()) TraceSwallowedFailure(where, "step failed");
    return false;
  }
}

}  // namespace trelvin
