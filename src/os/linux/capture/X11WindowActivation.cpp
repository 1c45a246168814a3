#include "os/linux/capture/X11WindowActivation.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <chrono>
#include <optional>
#include <thread>
#include <vector>

#include "os/common/TitleMatch.h"
#include "os/linux/capture/X11ErrorTrap.h"

namespace trelvin {

namespace {

// How long an activation may take the window manager before the Enter is sent all the same.
constexpr auto kActivationWait = std::chrono::milliseconds(1000);

// The raw items of a window property, or nullopt when it is missing.
std::optional<std::vector<unsigned char>> ReadProperty(Display* display, Window window, Atom name,
                                                       Atom type, int* format_out = nullptr) {
  Atom actual_type = 0;
  int format = 0;
  unsigned long items = 0, remaining = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(display, window, name, 0, 1 << 20, False, type, &actual_type, &format,
                         &items, &remaining, &data) != Success ||
      actual_type != type || !data) {
    if (data) XFree(data);
    return std::nullopt;
  }
  const std::size_t item_size = format == 32 ? sizeof(long) : static_cast<std::size_t>(format / 8);
  std::vector<unsigned char> bytes(data, data + items * item_size);
  XFree(data);
  if (format_out) *format_out = format;
  return bytes;
}

std::vector<Window> ReadWindows(Display* display, Window window, Atom name) {
  std::vector<Window> windows;
  int format = 0;
  auto bytes = ReadProperty(display, window, name, XA_WINDOW, &format);
  if (!bytes || format != 32) return windows;
  const auto* items = reinterpret_cast<const long*>(bytes->data());
  for (std::size_t i = 0; i < bytes->size() / sizeof(long); ++i) {
    windows.push_back(static_cast<Window>(items[i]));
  }
  return windows;
}

}  // namespace

struct X11WindowActivation::State {
  ~State() {
    if (display) XCloseDisplay(display);
  }

  bool Connect() {
    if (display) return true;
    display = XOpenDisplay(nullptr);
    if (!display) return false;
    root = DefaultRootWindow(display);
    client_list = XInternAtom(display, "_NET_CLIENT_LIST", False);
    wm_check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
    active_window = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
    net_wm_name = XInternAtom(display, "_NET_WM_NAME", False);
    utf8_string = XInternAtom(display, "UTF8_STRING", False);
    return true;
  }

  bool WindowManagerRuns() { return !ReadWindows(display, root, wm_check).empty(); }

  // The top-level client windows: the window manager's list, else the root's mapped children.
  std::vector<Window> TopLevelWindows(bool managed) {
    if (managed) {
      std::vector<Window> clients = ReadWindows(display, root, client_list);
      if (!clients.empty()) return clients;
    }
    std::vector<Window> windows;
    Window root_return = 0, parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, root, &root_return, &parent, &children, &count)) return windows;
    for (unsigned int i = 0; i < count; ++i) {
      XWindowAttributes attributes;
      if (XGetWindowAttributes(display, children[i], &attributes) &&
          !attributes.override_redirect && attributes.c_class == InputOutput) {
        windows.push_back(children[i]);
      }
    }
    if (children) XFree(children);
    return windows;
  }

  std::optional<std::string> Title(Window window) {
    if (auto utf8 = ReadProperty(display, window, net_wm_name, utf8_string)) {
      return std::string(utf8->begin(), utf8->end());
    }
    XTextProperty property{};
    if (!XGetWMName(display, window, &property) || !property.value) return std::nullopt;
    std::string title(reinterpret_cast<char*>(property.value), property.nitems);
    char** list = nullptr;
    int count = 0;
    if (Xutf8TextPropertyToTextList(display, &property, &list, &count) >= Success && list) {
      if (count > 0 && list[0]) title = list[0];
      XFreeStringList(list);
    }
    XFree(property.value);
    return title;
  }

  // Whether the keyboard focus is in `window` or one of its descendants.
  bool HasFocus(Window window) {
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(display, &focus, &revert);
    while (focus != 0 && focus != PointerRoot && focus != root) {
      if (focus == window) return true;
      Window root_return = 0, parent = 0;
      Window* children = nullptr;
      unsigned int count = 0;
      if (!XQueryTree(display, focus, &root_return, &parent, &children, &count)) return false;
      if (children) XFree(children);
      focus = parent;
    }
    return false;
  }

  void Activate(Window window, bool managed) {
    if (managed) {
      XEvent event{};
      event.xclient.type = ClientMessage;
      event.xclient.window = window;
      event.xclient.message_type = active_window;
      event.xclient.format = 32;
      event.xclient.data.l[0] = 2;  // from a pager-like tool: honoured without focus stealing rules
      event.xclient.data.l[1] = CurrentTime;
      XSendEvent(display, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
    } else {
      XMapRaised(display, window);
      XSetInputFocus(display, window, RevertToPointerRoot, CurrentTime);
    }
    XFlush(display);
  }

  Display* display = nullptr;
  Window root = 0;
  Atom client_list = 0, wm_check = 0, active_window = 0, net_wm_name = 0, utf8_string = 0;
};

X11WindowActivation::X11WindowActivation() : state_(std::make_unique<State>()) {}
X11WindowActivation::~X11WindowActivation() = default;

bool X11WindowActivation::ActivateWindow(const std::string& title) {
  State& s = *state_;
  if (!s.Connect()) return false;
  TitleMatch<Window> match(title);
  bool managed = false;
  {
    // Windows may vanish while they are looked at; their errors only drop them from the search.
    X11ErrorTrap trap(s.display);
    managed = s.WindowManagerRuns();
    for (Window window : s.TopLevelWindows(managed)) {
      const auto name = s.Title(window);
      if (name && match.Offer(*name, window)) break;
    }
  }
  if (!match.Best()) return false;
  const Window target = *match.Best();
  X11ErrorTrap trap(s.display);
  s.Activate(target, managed);
  if (trap.Failed()) return false;
  // The Enter that follows must land in the window: give the window manager a moment to move the
  // focus there, without waiting for this program's own focus.
  const auto end = std::chrono::steady_clock::now() + kActivationWait;
  while (!s.HasFocus(target) && std::chrono::steady_clock::now() < end) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

bool X11WindowActivation::SendEnter() {
  State& s = *state_;
  if (!s.Connect()) return false;
  int event_base = 0, error_base = 0, major = 0, minor = 0;
  if (!XTestQueryExtension(s.display, &event_base, &error_base, &major, &minor)) return false;
  const KeyCode enter = XKeysymToKeycode(s.display, XK_Return);
  if (enter == 0) return false;
  X11ErrorTrap trap(s.display);
  XTestFakeKeyEvent(s.display, enter, True, CurrentTime);
  XTestFakeKeyEvent(s.display, enter, False, CurrentTime);
  XFlush(s.display);
  return !trap.Failed();
}

}  // namespace trelvin
