#pragma once

#include "platform/services/ScreenGrab.h"

namespace trelvin {

// Until the desktop grab of this platform is built: no session can be had, so a capture saves a
// blank picture (the capture's own rule for a failed grab).
class NoScreenGrab : public ScreenGrab {
 public:
  void BeginSession() override {}
  void EndSession() override {}
  std::unique_ptr<GrabSession> OpenDesktop() override { return nullptr; }
};

}  // namespace trelvin
