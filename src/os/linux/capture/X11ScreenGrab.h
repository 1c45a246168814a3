#pragma once

#include <memory>

#include "core/services/ScreenGrab.h"

namespace trelvin {

// The X server's primary screen, read from the root window through MIT-SHM where the server
// offers it (the shared segment is kept for the next capture of the same size), plain GetImage
// otherwise. Opens its own connection to $DISPLAY on first use.
class X11ScreenGrab : public ScreenGrab {
 public:
  X11ScreenGrab();
  ~X11ScreenGrab() override;
  X11ScreenGrab(const X11ScreenGrab&) = delete;
  X11ScreenGrab& operator=(const X11ScreenGrab&) = delete;

  // The X server needs no permission: nothing to open or close.
  void BeginSession() override {}
  void EndSession() override {}
  std::unique_ptr<GrabSession> OpenDesktop() override;
  // Why the last grab failed: no display, or a server that refused its pixels.
  std::string Problem() override;

  // Turns shared memory off, so every copy takes the plain GetImage road (tests, benchmarks).
  void DisableSharedMemory();
  // Whether the last successful copy came through shared memory.
  bool LastCopyUsedSharedMemory() const;

 private:
  class Session;
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace trelvin
