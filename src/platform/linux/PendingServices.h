#pragma once

// FIXME: services whose real implementations are still being built; each fails every call.
#include "platform/Services.h"

namespace trelvin {

class PendingScreenGrab : public ScreenGrab {
 public:
  std::unique_ptr<GrabSession> OpenDesktop() override { return nullptr; }
};
class PendingJpegConverter : public JpegConverter {
 public:
  int BmpToJpeg(const std::string&, const std::string&, std::int16_t) override { return 1; }
};
class PendingWindowActivation : public WindowActivation {
 public:
  bool ActivateWindow(const std::string&) override { return false; }
  bool SendEnter() override { return false; }
};

}  // namespace trelvin
