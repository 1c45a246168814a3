#pragma once

#include <memory>

#include "core/services/WindowActivation.h"

namespace trelvin {

// Other programs' windows through EWMH: the window manager's client list (the root's children when
// none runs), titles from _NET_WM_NAME or WM_NAME, activation by a _NET_ACTIVE_WINDOW request
// (raise and focus without a window manager), keys through XTest. Opens its own connection to
// $DISPLAY.
class X11WindowActivation : public WindowActivation {
 public:
  X11WindowActivation();
  ~X11WindowActivation() override;
  X11WindowActivation(const X11WindowActivation&) = delete;
  X11WindowActivation& operator=(const X11WindowActivation&) = delete;

  bool ActivateWindow(const std::string& title) override;
  bool SendEnter() override;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace trelvin
