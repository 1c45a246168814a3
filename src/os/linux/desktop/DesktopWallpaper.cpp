#include "os/linux/desktop/DesktopWallpaper.h"

#include <algorithm>
#include <cstdlib>
#include <thread>

#include <QEventLoop>
#include <QImage>
#include <QMetaObject>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QUrl>

// Xlib after Qt: its macros (None, Bool, Status) would break Qt's headers.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace trelvin {

namespace {

QString FileUri(const std::string& path) {
  return QUrl::fromLocalFile(QString::fromStdString(path)).toString();
}

// Quotes text for a single-quoted string of Plasma's JavaScript.
QString ScriptString(const QString& text) {
  QString quoted = text;
  quoted.replace('\\', "\\\\").replace('\'', "\\'").replace('\n', "\\n");
  return "'" + quoted + "'";
}

bool x_error = false;
int RecordError(Display*, XErrorEvent*) {
  x_error = true;
  return 0;
}

Pixmap ReadPixmapProperty(Display* display, Window root, Atom property) {
  Atom type = 0;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  Pixmap pixmap = 0;
  if (XGetWindowProperty(display, root, property, 0, 1, False, AnyPropertyType, &type, &format,
                         &count, &after, &data) == Success &&
      type == XA_PIXMAP && format == 32 && count == 1 && data) {
    pixmap = *reinterpret_cast<Pixmap*>(data);
  }
  if (data) XFree(data);
  return pixmap;
}

}  // namespace

DesktopWallpaper::Mechanism DesktopWallpaper::MechanismFor(const std::string& current_desktop) {
  const QStringList names = QString::fromStdString(current_desktop).toLower().split(':');
  for (const QString& name : names) {
    if (name == "gnome" || name == "unity" || name == "budgie" || name == "pantheon") {
      return Mechanism::kGnome;
    }
    if (name == "x-cinnamon" || name == "cinnamon") return Mechanism::kCinnamon;
    if (name == "mate") return Mechanism::kMate;
    if (name == "xfce") return Mechanism::kXfce;
    if (name == "kde") return Mechanism::kPlasma;
  }
  return Mechanism::kRootWindow;
}

bool DesktopWallpaper::RunTool(const std::string& program,
                               const std::vector<std::string>& arguments,
                               const QDeadlineTimer& deadline, std::string* output) {
  if (deadline.hasExpired()) return false;
  const QString found = QStandardPaths::findExecutable(QString::fromStdString(program));
  if (found.isEmpty()) return false;
  QStringList args;
  for (const std::string& a : arguments) args << QString::fromStdString(a);
  bool ok = false;
  QByteArray out;
  QEventLoop loop;
  std::thread worker([&] {
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    if (!output) process.setStandardOutputFile(QProcess::nullDevice());
    process.start(found, args);
    if (process.waitForFinished(static_cast<int>(std::max<qint64>(deadline.remainingTime(), 0)))) {
      ok = process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
      if (output) out = process.readAllStandardOutput();
    } else {
      process.kill();
      process.waitForFinished();
    }
    QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
  });
  loop.exec(QEventLoop::ExcludeUserInputEvents | QEventLoop::X11ExcludeTimers);
  worker.join();
  if (output) *output = out.toStdString();
  return ok;
}

bool DesktopWallpaper::SetDeskWallpaper(const std::string& bitmap_path) {
  const QDeadlineTimer deadline(kCommandMs);
  const char* desktop = std::getenv("XDG_CURRENT_DESKTOP");
  const std::string uri = FileUri(bitmap_path).toStdString();
  switch (MechanismFor(desktop ? desktop : "")) {
    case Mechanism::kGnome: {
      const bool light = RunTool(
          "gsettings", {"set", "org.gnome.desktop.background", "picture-uri", uri}, deadline);
      // Newer GNOME shows a second picture in dark style; older ones lack the key.
      RunTool("gsettings", {"set", "org.gnome.desktop.background", "picture-uri-dark", uri},
              deadline);
      return light;
    }
    case Mechanism::kCinnamon:
      return RunTool("gsettings", {"set", "org.cinnamon.desktop.background", "picture-uri", uri},
                     deadline);
    case Mechanism::kMate:
      return RunTool("gsettings", {"set", "org.mate.background", "picture-filename", bitmap_path},
                     deadline);
    case Mechanism::kXfce: {
      // Every monitor and workspace has its own property; set each that exists, or the first.
      std::string listed;
      QStringList properties;
      if (RunTool("xfconf-query", {"-c", "xfce4-desktop", "-l"}, deadline, &listed)) {
        for (const QString& line : QString::fromStdString(listed).split('\n')) {
          if (line.endsWith("/last-image")) properties << line.trimmed();
        }
      }
      if (properties.isEmpty()) properties << "/backdrop/screen0/monitor0/workspace0/last-image";
      bool all = true;
      for (const QString& property : properties) {
        all = RunTool("xfconf-query",
                      {"-c", "xfce4-desktop", "-p", property.toStdString(), "-n", "-t", "string",
                       "-s", bitmap_path},
                      deadline) &&
              all;
      }
      return all;
    }
    case Mechanism::kPlasma: {
      const QString script =
          "for (const d of desktops()) { d.wallpaperPlugin = 'org.kde.image'; "
          "d.currentConfigGroup = ['Wallpaper', 'org.kde.image', 'General']; "
          "d.writeConfig('Image', " +
          ScriptString(QString::fromStdString(uri)) + "); }";
      if (RunTool("qdbus",
                  {"org.kde.plasmashell", "/PlasmaShell", "org.kde.PlasmaShell.evaluateScript",
                   script.toStdString()},
                  deadline)) {
        return true;
      }
      return RunTool(
          "dbus-send",
          {"--session", "--dest=org.kde.plasmashell", "--type=method_call", "--print-reply",
           "/PlasmaShell", "org.kde.PlasmaShell.evaluateScript", "string:" + script.toStdString()},
          deadline);
    }
    case Mechanism::kRootWindow:
      return SetRootWindowPixmap(bitmap_path);
  }
  return false;
}

bool DesktopWallpaper::SetRootWindowPixmap(const std::string& bitmap_path) {
  QImage picture(QString::fromStdString(bitmap_path));
  if (picture.isNull()) return false;
  // A connection of our own: its resources are the ones kept after the program ends.
  Display* display = XOpenDisplay(nullptr);
  if (!display) return false;
  const int screen = DefaultScreen(display);
  const Window root = RootWindow(display, screen);
  const int width = DisplayWidth(display, screen);
  const int height = DisplayHeight(display, screen);
  const int depth = DefaultDepth(display, screen);
  Visual* visual = DefaultVisual(display, screen);
  if ((depth != 24 && depth != 32) || visual->red_mask != 0xFF0000 ||
      visual->green_mask != 0xFF00 || visual->blue_mask != 0xFF) {
    XCloseDisplay(display);
    return false;  // only the usual true-colour layout is drawn
  }
  // Stretched over the screen, as the desktop's stretch style shows it.
  QImage scaled = picture.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                      .convertToFormat(QImage::Format_RGB32);

  x_error = false;
  XErrorHandler previous = XSetErrorHandler(RecordError);
  const Pixmap pixmap = XCreatePixmap(display, root, width, height, depth);
  GC gc = XCreateGC(display, pixmap, 0, nullptr);
  XImage* image =
      XCreateImage(display, visual, depth, ZPixmap, 0, reinterpret_cast<char*>(scaled.bits()),
                   width, height, 32, static_cast<int>(scaled.bytesPerLine()));
  bool ok = image != nullptr;
  if (ok) {
    image->byte_order = LSBFirst;  // QImage's RGB32 is 0xffRRGGBB in host order
    XPutImage(display, pixmap, gc, image, 0, 0, 0, 0, width, height);
    image->data = nullptr;  // the pixels belong to the QImage
    XDestroyImage(image);
  }
  XFreeGC(display, gc);

  const Atom root_id = XInternAtom(display, "_XROOTPMAP_ID", False);
  const Atom esetroot_id = XInternAtom(display, "ESETROOT_PMAP_ID", False);
  // A pixmap that an earlier setter kept alive is freed by the same convention.
  const Pixmap old_root = ReadPixmapProperty(display, root, root_id);
  const Pixmap old_esetroot = ReadPixmapProperty(display, root, esetroot_id);
  if (ok) {
    XSetWindowBackgroundPixmap(display, root, pixmap);
    XClearWindow(display, root);
    XChangeProperty(display, root, root_id, XA_PIXMAP, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&pixmap), 1);
    XChangeProperty(display, root, esetroot_id, XA_PIXMAP, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&pixmap), 1);
    XSync(display, False);
    const bool failed = x_error;
    if (old_root && old_root == old_esetroot) {
      XKillClient(display, old_root);
      XSync(display, False);
    }
    x_error = failed;  // an earlier setter already gone is no failure of ours
    XSetCloseDownMode(display, RetainPermanent);
  } else {
    XFreePixmap(display, pixmap);
  }
  XSync(display, False);
  ok = ok && !x_error;
  XSetErrorHandler(previous);
  XCloseDisplay(display);
  return ok;
}

}  // namespace trelvin
