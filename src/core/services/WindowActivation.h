#pragma once

#include <string>

namespace trelvin {

// Other programs' top-level windows.
class WindowActivation {
 public:
  virtual ~WindowActivation() = default;
  // Brings a window titled `title` to the front at once: one whose title equals it first, else one
  // whose title begins with it; false when none matches or it could not be activated.
  virtual bool ActivateWindow(const std::string& title) = 0;
  // Presses and releases Enter in the foreground window without waiting for it; false on failure.
  virtual bool SendEnter() = 0;
};

}  // namespace trelvin
