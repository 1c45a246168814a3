#pragma once

#include <X11/Xlib.h>

namespace trelvin {

// Catches the X errors of the requests made while it lives instead of letting Xlib's default
// handler end the process (a window that vanished, shared memory that a remote server cannot
// attach). Single-threaded use only, as the handler is process-wide.
class X11ErrorTrap {
 public:
  // kRepliesOnly: every request made under the trap waits for its reply, on a connection with no
  // request outstanding that does not. Xlib hands such a request's error (and any earlier one's)
  // to the handler before the reply returns, so the trap needs no round trip to the server (the
  // grab's three syncs were a fifth of a skipped capture).
  enum Requests { kAny, kRepliesOnly };
  explicit X11ErrorTrap(Display* display, Requests requests = kAny);
  ~X11ErrorTrap();
  X11ErrorTrap(const X11ErrorTrap&) = delete;
  X11ErrorTrap& operator=(const X11ErrorTrap&) = delete;

  // Waits for the server to process every request so far (kAny); true when any of them failed.
  bool Failed();

 private:
  Display* display_;  // null for kRepliesOnly: nothing to wait for
  int (*previous_)(Display*, XErrorEvent*);
};

}  // namespace trelvin
