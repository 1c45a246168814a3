// A stand-in for the game emulator in end-to-end tests: a window with a known picture (four
// coloured quadrants) that counts the Enter keys it receives.
//   trelvin_fake_emulator TITLE COUNT_FILE [X Y WIDTH HEIGHT]
// COUNT_FILE gets "PRESSES RELEASES" once the window is mapped and after every Enter.
#include <poll.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void WriteCount(const std::string& path, int presses, int releases) {
  const std::string temp = path + ".tmp";
  if (FILE* f = std::fopen(temp.c_str(), "w")) {
    std::fprintf(f, "%d %d\n", presses, releases);
    std::fclose(f);
    std::rename(temp.c_str(), path.c_str());
  }
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 3 && argc != 7) return 2;
  const std::string title = argv[1];
  const std::string count_file = argv[2];
  const int x = argc == 7 ? std::atoi(argv[3]) : 100;
  const int y = argc == 7 ? std::atoi(argv[4]) : 100;
  const int width = argc == 7 ? std::atoi(argv[5]) : 200;
  const int height = argc == 7 ? std::atoi(argv[6]) : 160;

  Display* display = XOpenDisplay(nullptr);
  if (!display) return 1;
  const int screen = DefaultScreen(display);
  const Window window =
      XCreateSimpleWindow(display, RootWindow(display, screen), x, y, static_cast<unsigned>(width),
                          static_cast<unsigned>(height), 0, 0, 0);
  XStoreName(display, window, title.c_str());
  const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
  XChangeProperty(display, window, XInternAtom(display, "_NET_WM_NAME", False), utf8, 8,
                  PropModeReplace, reinterpret_cast<const unsigned char*>(title.data()),
                  static_cast<int>(title.size()));
  XSizeHints hints{};
  hints.flags = USPosition | USSize;
  hints.x = x;
  hints.y = y;
  hints.width = width;
  hints.height = height;
  XSetWMNormalHints(display, window, &hints);
  XWMHints wm_hints{};
  wm_hints.flags = InputHint;
  wm_hints.input = True;
  XSetWMHints(display, window, &wm_hints);
  XSelectInput(display, window, ExposureMask | KeyPressMask | KeyReleaseMask | StructureNotifyMask);
  XMapWindow(display, window);

  const GC gc = XCreateGC(display, window, 0, nullptr);
  const unsigned long colours[4] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
  int presses = 0, releases = 0;
  bool mapped = false;
  for (;;) {
    // A window manager that was still starting can drop the first map request: until the window
    // is mapped, ask again every second.
    if (!mapped && XPending(display) == 0) {
      pollfd connection{ConnectionNumber(display), POLLIN, 0};
      if (::poll(&connection, 1, 1000) == 0) {
        XMapWindow(display, window);
        XFlush(display);
        continue;
      }
    }
    XEvent event;
    XNextEvent(display, &event);
    switch (event.type) {
      case MapNotify:
        mapped = true;
        WriteCount(count_file, presses, releases);
        break;
      case Expose:
        for (int q = 0; q < 4; ++q) {
          XSetForeground(display, gc, colours[q]);
          XFillRectangle(display, window, gc, (q % 2) * width / 2, (q / 2) * height / 2,
                         static_cast<unsigned>(width - width / 2),
                         static_cast<unsigned>(height - height / 2));
        }
        XFlush(display);
        break;
      case KeyPress:
      case KeyRelease:
        if (XLookupKeysym(&event.xkey, 0) == XK_Return) {
          (event.type == KeyPress ? presses : releases) += 1;
          WriteCount(count_file, presses, releases);
        }
        break;
      default:
        break;
    }
  }
}
