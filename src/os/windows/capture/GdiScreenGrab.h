#pragma once

#include <memory>
#include <string>

#include "core/services/ScreenGrab.h"

namespace trelvin {

// The primary screen through GDI: the desktop window's device context, copied with BitBlt
// (SRCCOPY | CAPTUREBLT, so layered windows are included) into a 32-bit top-down DIB section that
// is kept for the next capture of the same size, then into the canvas's image. Works in device
// pixels (the program is per-monitor DPI aware).
class GdiScreenGrab : public ScreenGrab {
 public:
  GdiScreenGrab();
  ~GdiScreenGrab() override;
  GdiScreenGrab(const GdiScreenGrab&) = delete;
  GdiScreenGrab& operator=(const GdiScreenGrab&) = delete;

  // The desktop's device context needs no permission and no stream: nothing to begin or end.
  void BeginSession() override {}
  void EndSession() override {}
  std::unique_ptr<GrabSession> OpenDesktop() override;
  // Why the last grab failed: no desktop context or a refused copy.
  std::string Problem() override;

  // How many times a desktop device context was obtained and released so far (tests).
  int DesktopContextsObtained() const;
  int DesktopContextsReleased() const;

 private:
  class Session;
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace trelvin
