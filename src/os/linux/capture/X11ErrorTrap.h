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

// The same for requests that each wait for their reply, on a connection with no request
// outstanding that does not: Xlib hands the error of such a request (and of any earlier one) to
// the handler before the reply returns, so the trap adds no round trip to the server (the
// grab's three syncs were a fifth of a skipped capture).
class X11ReplyTrap {
 public:
  X11ReplyTrap();
  ~X11ReplyTrap();
  X11ReplyTrap(const X11ReplyTrap&) = delete;
  X11ReplyTrap& operator=(const X11ReplyTrap&) = delete;

  // True when a request made since the trap was set failed.
  bool Failed() const;

 private:
  int (*previous_)(Display*, XErrorEvent*);
};

}  // namespace trelvin
