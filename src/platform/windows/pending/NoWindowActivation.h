#pragma once

#include "platform/services/WindowActivation.h"

namespace trelvin {

// Until window activation is wired on this platform: no window is found.
class NoWindowActivation : public WindowActivation {
 public:
  bool ActivateWindow(const std::string&) override { return false; }
  bool SendEnter() override { return false; }
};

}  // namespace trelvin
