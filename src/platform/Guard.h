#pragma once

#include <exception>

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

// Runs one guarded step; returns whether it completed.
template <class F>
bool Step(F&& step) noexcept {
  try {
    step();
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace trelvin
