// Requests to the window manager and window properties, straight through Xlib.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstdlib>
#include <string>

#include "e2e/Harness.h"

namespace trelvin::e2e {

bool VirtualDisplay::CloseWindow(const std::string& id) const {
  Display* display = XOpenDisplay(name_.c_str());
  if (!display) return false;
  const Window window = std::strtoul(id.c_str(), nullptr, 0);
  const Window root = DefaultRootWindow(display);
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.format = 32;
  if (wm_ > 0) {
    // Source 2: a pager or task bar, which window managers obey without focus checks.
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "_NET_CLOSE_WINDOW", False);
    event.xclient.data.l[0] = CurrentTime;
    event.xclient.data.l[1] = 2;
    XSendEvent(display, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
  } else {
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
  }
  XSync(display, False);
  XCloseDisplay(display);
  return true;
}

bool VirtualDisplay::Iconic(const std::string& id) const {
  return Run(Env() + "xprop -id " + Quote(id) + " WM_STATE 2>/dev/null")
             .output.find("window state: Iconic") != std::string::npos;
}

bool VirtualDisplay::SetDpi(int dpi) const {
  return Run("printf 'Xft.dpi: %d\\n' " + std::to_string(dpi) + " | " + Env() + "xrdb -merge")
             .status == 0;
}

}  // namespace trelvin::e2e
