#pragma once

namespace trelvin {

// A test build's stand-in for the user's click on "&Start"/"&Stop" where no input can be typed
// (a Wayland compositor takes no synthetic input from outside): each SIGUSR1 clicks the visible
// button of that caption through the toolkit, so the program's own click path runs. Install
// before the event loop starts; a signal that comes before the button is shown waits for it.
class StartSignal {
 public:
  static void Install();
};

}  // namespace trelvin
