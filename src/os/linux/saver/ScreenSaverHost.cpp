#include "os/linux/saver/ScreenSaverHost.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

// Qt before Xlib, whose macros (None, Status) clash with Qt's names.
#include <QApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <X11/Xlib.h>

#include "os/linux/capture/X11ErrorTrap.h"

namespace trelvin {

namespace {

// The self-pipe: the signal handler only writes a byte, the event loop reads it.
int signal_pipe[2] = {-1, -1};

void OnTerminate(int) {
  const int saved = errno;
  const char byte = 1;
  [[maybe_unused]] ssize_t written = write(signal_pipe[1], &byte, 1);
  errno = saved;
}

struct XDisplay {
  XDisplay() : display(XOpenDisplay(nullptr)) {}
  ~XDisplay() {
    if (display) XCloseDisplay(display);
  }
  Display* display;
};

}  // namespace

void ScreenSaverHost::RestoreRuntimeDirectory() {
  const char* current = std::getenv("XDG_RUNTIME_DIR");
  if (current && *current) return;
  const std::string dir = "/run/user/" + std::to_string(getuid());
  struct stat info;
  // Only a directory of the user's own, closed to others, as the base directory rules demand.
  if (lstat(dir.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != getuid() ||
      (info.st_mode & 077) != 0) {
    return;
  }
  setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
}

ScreenSaverHost::ScreenSaverHost(unsigned long window) {
  watch_ = XOpenDisplay(nullptr);
  if (!watch_) {
    problem_ = "cannot open the X display";
    return;
  }
  window_id_ = window != 0 ? window : DefaultRootWindow(watch_);
  on_root_ = window_id_ == DefaultRootWindow(watch_);
  {
    X11ErrorTrap trap(watch_);
    // Selected before the check, so a window that goes away after it still reports it.
    if (!on_root_) XSelectInput(watch_, window_id_, StructureNotifyMask);
    XWindowAttributes attributes;
    const bool found = XGetWindowAttributes(watch_, window_id_, &attributes) != 0;
    if (trap.Failed() || !found) {
      char id[32];
      std::snprintf(id, sizeof id, "0x%lx", window_id_);
      problem_ = std::string("there is no window ") + id + " on the display";
      return;
    }
  }
  host_ = QWindow::fromWinId(static_cast<WId>(window_id_));
  if (!host_) {
    problem_ = "the window cannot be used";
    return;
  }
  if (pipe2(signal_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
    problem_ = "cannot make the pipe for SIGTERM";
    return;
  }
  notifier_ = std::make_unique<QSocketNotifier>(signal_pipe[0], QSocketNotifier::Read);
  connect(notifier_.get(), &QSocketNotifier::activated, this, [this] {
    char bytes[16];
    while (read(signal_pipe[0], bytes, sizeof bytes) > 0) {
    }
    Terminate();
  });
  // A daemon that destroys its window without a signal ends the show all the same.
  watch_notifier_ =
      std::make_unique<QSocketNotifier>(ConnectionNumber(watch_), QSocketNotifier::Read);
  connect(watch_notifier_.get(), &QSocketNotifier::activated, this, [this] { ReadWatch(); });
  QTimer::singleShot(0, this, [this] { ReadWatch(); });
  struct sigaction action = {};
  action.sa_handler = OnTerminate;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &action, nullptr);
}

ScreenSaverHost::~ScreenSaverHost() {
  if (notifier_) {
    signal(SIGTERM, SIG_DFL);
    notifier_.reset();
    close(signal_pipe[0]);
    close(signal_pipe[1]);
    signal_pipe[0] = signal_pipe[1] = -1;
  }
  watch_notifier_.reset();
  delete host_;
  if (watch_) XCloseDisplay(watch_);
}

void ScreenSaverHost::ReadWatch() {
  bool gone = false;
  while (XPending(watch_) > 0) {
    XEvent event;
    XNextEvent(watch_, &event);
    if (event.type == DestroyNotify && event.xdestroywindow.window == window_id_) gone = true;
  }
  if (gone) Terminate();
}

Size ScreenSaverHost::HostSize() const {
  XDisplay x;
  if (!x.display || window_id_ == 0) return {};
  X11ErrorTrap trap(x.display);
  XWindowAttributes attributes;
  if (XGetWindowAttributes(x.display, window_id_, &attributes) == 0 || trap.Failed()) return {};
  return {attributes.width, attributes.height};
}

void ScreenSaverHost::Embed(QWidget& widget) {
  if (!host_) return;
  // Input transparency keeps pointer events with the daemon's window; a window that does not
  // accept focus never takes the keyboard from it (or from a settings dialog showing a preview).
  Qt::WindowFlags flags =
      widget.windowFlags() | Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus;
  // On the root window itself the show is a top-level window: one the window manager leaves
  // alone (no frame, no entry in its lists), as a drawing on the root would be.
  if (on_root_) flags |= Qt::BypassWindowManagerHint;
  widget.setWindowFlags(flags);
  widget.setAttribute(Qt::WA_ShowWithoutActivating);
  widget.winId();
  widget.windowHandle()->setParent(host_);
}

void ScreenSaverHost::Terminate() {
  // Closing a form's window unloads the form; the show's modal loop then returns and the program
  // ends the way it does after a key.
  // (A form's window refuses the close event itself and unloads its form instead.)
  bool asked = false;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (!widget->isVisible()) continue;
    widget->close();
    asked = true;
  }
  // Nothing open yet: leave the loops now; the services clean up as the program returns.
  if (!asked) QCoreApplication::exit(0);
}

}  // namespace trelvin
