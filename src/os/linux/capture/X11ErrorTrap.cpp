#include "os/linux/capture/X11ErrorTrap.h"

namespace trelvin {

namespace {

int trapped_error = 0;

int TrapError(Display*, XErrorEvent* event) {
  trapped_error = event->error_code;
  return 0;
}

}  // namespace

X11ErrorTrap::X11ErrorTrap(Display* display) : display_(display) {
  // Errors of earlier requests belong to whoever made them.
  XSync(display_, False);
  trapped_error = 0;
  previous_ = XSetErrorHandler(TrapError);
}

X11ErrorTrap::~X11ErrorTrap() {
  XSync(display_, False);
  XSetErrorHandler(previous_);
}

bool X11ErrorTrap::Failed() {
  XSync(display_, False);
  return trapped_error != 0;
}

X11ReplyTrap::X11ReplyTrap() {
  trapped_error = 0;
  previous_ = XSetErrorHandler(TrapError);
}

X11ReplyTrap::~X11ReplyTrap() { XSetErrorHandler(previous_); }

bool X11ReplyTrap::Failed() const { return trapped_error != 0; }

}  // namespace trelvin
