#include "os/linux/capture/X11ErrorTrap.h"

namespace trelvin {

namespace {

int trapped_error = 0;

int TrapError(Display*, XErrorEvent* event) {
  trapped_error = event->error_code;
  return 0;
}

}  // namespace

X11ErrorTrap::X11ErrorTrap(Display* display, Requests requests)
    : display_(requests == kAny ? display : nullptr) {
  // Errors of earlier requests belong to whoever made them.
  if (display_) XSync(display_, False);
  trapped_error = 0;
  previous_ = XSetErrorHandler(TrapError);
}

X11ErrorTrap::~X11ErrorTrap() {
  if (display_) XSync(display_, False);
  XSetErrorHandler(previous_);
}

bool X11ErrorTrap::Failed() {
  if (display_) XSync(display_, False);
  return trapped_error != 0;
}

}  // namespace trelvin
