// A stand-in for a screen-saver daemon's window in end-to-end tests: an override-redirect window
// (as xscreensaver's) at a given place, and a watch on every window mapped on the root meanwhile.
//   trelvin_saver_window X Y WIDTH HEIGHT STATE_FILE
// Once the window is mapped, STATE_FILE gets "window ID"; then one line "mapped ID" for each
// other window mapped as a child of the root, so a module that maps a window of its own shows.
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void Append(const std::string& path, const std::string& line) {
  if (FILE* f = std::fopen(path.c_str(), "a")) {
    std::fprintf(f, "%s\n", line.c_str());
    std::fclose(f);
  }
}

std::string Hex(unsigned long id) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%lx", id);
  return text;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 6) return 2;
  const int x = std::atoi(argv[1]);
  const int y = std::atoi(argv[2]);
  const unsigned width = static_cast<unsigned>(std::atoi(argv[3]));
  const unsigned height = static_cast<unsigned>(std::atoi(argv[4]));
  const std::string state = argv[5];

  Display* display = XOpenDisplay(nullptr);
  if (!display) return 1;
  const Window root = DefaultRootWindow(display);
  // Watch the root before anything else can be mapped.
  XSelectInput(display, root, SubstructureNotifyMask);
  XSetWindowAttributes attributes{};
  attributes.override_redirect = True;
  attributes.background_pixel = BlackPixel(display, DefaultScreen(display));
  attributes.event_mask = StructureNotifyMask;
  const Window window =
      XCreateWindow(display, root, x, y, width, height, 0, CopyFromParent, InputOutput,
                    CopyFromParent, CWOverrideRedirect | CWBackPixel | CWEventMask, &attributes);
  XMapRaised(display, window);
  bool announced = false;
  for (;;) {
    XEvent event;
    XNextEvent(display, &event);
    if (event.type != MapNotify) continue;
    if (event.xmap.window == window) {
      if (announced) continue;
      announced = true;
      // Written whole, so a reader never sees half of it.
      const std::string temp = state + ".tmp";
      Append(temp, "window " + Hex(window));
      std::rename(temp.c_str(), state.c_str());
    } else if (event.xmap.event == root) {
      Append(state, "mapped " + Hex(event.xmap.window));
    }
  }
}
