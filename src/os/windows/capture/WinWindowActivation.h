#pragma once

#include <string>

#include "core/services/WindowActivation.h"

namespace trelvin {

// Other programs' windows through user32: EnumWindows over the visible top-level windows (an exact
// title first, then one that begins with the text), SetForegroundWindow with the usual way round
// the foreground lock (input attached to the foreground window's thread for the call), and keys
// through SendInput.
class WinWindowActivation : public WindowActivation {
 public:
  bool ActivateWindow(const std::string& title) override;
  bool SendEnter() override;
};

}  // namespace trelvin
