#pragma once

#include <exception>
#include <source_location>

namespace trelvin {

// Every handler runs its steps guarded: a step that cannot do its work has no effect and the
// handler goes on with its next step. A step signals failure by throwing (StepFailed, or whatever
// a library throws); Step() swallows it. Use one Step() per step of a handler, so the structure of
// the handler in the code is the list of its steps.
struct StepFailed : std::exception {
  StepFailed() = default;
  // `what` is a text that lives for the whole run (a literal).
  explicit StepFailed(const char* what) : what_(what) {}
  const char* what() const noexcept override { return what_; }

 private:
  const char* what_ = "step failed";
};

// Fails the current step unless `ok` holds.
inline void Require(bool ok) {
  if (!ok) throw StepFailed();
}

// Fails the current step unless `ok` holds, saying in the trace and the log what failed.
inline void Require(bool ok, const char* what) {
  if (!ok) throw StepFailed(what);
}

// Where every swallowed failure is written besides the trace: the user's log.
class FailureSink {
 public:
  virtual ~FailureSink() = default;
  // Keeps one line (without its line end); may be called from any thread; never throws.
  virtual void Write(const char* line) noexcept = 0;
};

// Installs the sink for the whole process (nullptr removes it). The program's main installs it
// once, before any window exists: a failure can come from any step of any window or thread, and
// threading a log through every Step() would put it into every handler's signature.
void SetFailureSink(FailureSink* sink) noexcept;

// Whether swallowed failures are traced: TRELVIN_TRACE=1 in the environment, read once.
bool StepTraceEnabled() noexcept;

// One line, `file:line: what failed`, to the failure sink and, when traced, to standard error.
void TraceSwallowedFailure(const std::source_location& where, const char* what) noexcept;

// Runs one guarded step; returns whether it completed. `where` is the step's place in the source,
// for the trace.
template <class F>
bool Step(F&& step, std::source_location where = std::source_location::current()) noexcept {
  try {
    step();
    return true;
  } catch (const std::exception& failure) {
    TraceSwallowedFailure(where, failure.what());
    return false;
  } catch (...) {
    TraceSwallowedFailure(where, "step failed");
    return false;
  }
}

}  // namespace trelvin
