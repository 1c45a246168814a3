#pragma once

// What the window activation's conformance suite asks of a system: each system implements it once
// (tests/os/<system>/conformance/; the fakes' in tests/core/capture/).
#include <memory>
#include <string>
#include <vector>

#include "core/services/WindowActivation.h"

namespace trelvin::conformance {

class WindowActivationDriver {
 public:
  virtual ~WindowActivationDriver() = default;
  // The system's activation service.
  virtual WindowActivation& Service() = 0;
  // Shows top-level windows of another program with `titles`, in this order (the last is the
  // one a window manager focuses on its own), and waits until they are shown; false if not.
  virtual bool Show(const std::vector<std::string>& titles) = 0;
  // Waits until the window titled `title` is the active one; whether it became so.
  virtual bool BecomesActive(const std::string& title) = 0;
  // The Enter presses the window titled `title` received, once `expected` arrived or a while
  // passed.
  virtual int Enters(const std::string& title, int expected) = 0;
};

std::unique_ptr<WindowActivationDriver> MakeWindowActivationDriver();

}  // namespace trelvin::conformance
