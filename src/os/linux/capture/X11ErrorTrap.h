#pragma once

#include <X11/Xlib.h>

namespace trelvin {

// Catches the X errors of the requests made while it lives instead of letting Xlib's default
// handler end the process (a window that vanished, shared memory that a remote server cannot
// attach). Single-threaded use only, as the handler is process-wide.
class X11ErrorTrap {
 public:
  explicit X11ErrorTrap(Display* display);
  ~X11ErrorTrap();
  X11ErrorTrap(const X11ErrorTrap&) = delete;
  X11ErrorTrap& operator=(const X11ErrorTrap&) = delete;

  // Waits for the server to process every request so far; true when any of them failed.
  bool Failed();

 private:
  Display* display_;
  int (*previous_)(Display*, XErrorEvent*);
};

}  // namespace trelvin
