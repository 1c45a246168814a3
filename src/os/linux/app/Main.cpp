// The program: wires the real services together and hands the start-up window to the runtime.
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QMetaObject>
#include <QtGlobal>

#include "core/services/FailureLog.h"
#include "core/services/StandardRandom.h"
#include "core/shell/FormMainSlide.h"
#include "core/shell/UnloadAtSessionEnd.h"
#include "os/linux/app/LinuxKnownPaths.h"
#include "os/linux/app/QtInstanceLock.h"
#include "os/linux/app/QtLocale.h"
#include "os/linux/app/QtSettingsStore.h"
#include "os/linux/app/ReadOnlySettingsStore.h"
#include "os/linux/app/SessionEnd.h"
#include "os/linux/app/StartSignal.h"
#include "os/linux/app/SystemClock.h"
#include "os/linux/capture/LibJpegConverter.h"
#include "os/linux/capture/PipeWireFrames.h"
#include "os/linux/capture/PortalScreenCast.h"
#include "os/linux/capture/ScreenCastToken.h"
#include "os/linux/capture/WaylandScreenGrab.h"
#include "os/linux/capture/X11ScreenGrab.h"
#include "os/linux/capture/X11WindowActivation.h"
#include "os/linux/desktop/DBusActionNotifications.h"
#include "os/linux/desktop/DBusDisplayInhibit.h"
#include "os/linux/desktop/DBusSessionPresence.h"
#include "os/linux/desktop/DesktopWallpaper.h"
#include "os/linux/desktop/QtPictures.h"
#include "os/linux/desktop/QtPrinter.h"
#include "os/linux/desktop/QtTrayIcon.h"
#include "os/linux/desktop/XdgShell.h"
#include "os/linux/files/PosixFileLock.h"
#include "os/linux/files/PosixFileSystem.h"
#include "os/linux/files/StatvfsDiskSpace.h"
#include "os/linux/media/GstMediaEngine.h"
#include "os/linux/media/mci/MciInterpreter.h"
#include "os/linux/saver/LinuxScreenSaverLock.h"
#include "os/linux/saver/ScreenSaverCommandLine.h"
#include "os/linux/saver/ScreenSaverHost.h"
#include "os/linux/window/QtCursor.h"
#include "os/linux/window/QtFolderDialog.h"
#include "os/linux/window/QtMessageBox.h"
#include "os/linux/window/QtWindowRuntime.h"
#include "video/BackgroundVideoMaker.h"

namespace {

// What Qt says while it connects to the display, held back until it is known whether it worked.
std::vector<std::pair<QtMsgType, QString>> held_messages;

// Without a display Qt ends with a fatal message and an abort. Say instead, in one line, what is
// wrong and how to mend it, and end with status 1 before anything has been read or written.
void StartUpMessage(QtMsgType type, const QMessageLogContext&, const QString& text) {
  if (type != QtFatalMsg) {
    held_messages.emplace_back(type, text);
    return;
  }
  const char* display = std::getenv("DISPLAY");
  if (display && *display) {
    std::fprintf(stderr,
                 "trelvinshow: the display \"%s\" could not be opened; set DISPLAY to a display "
                 "you may use, for example DISPLAY=:0\n",
                 display);
  } else {
    std::fprintf(stderr,
                 "trelvinshow: no display could be opened, DISPLAY is not set; set DISPLAY to "
                 "the X display to show the program on, for example DISPLAY=:0\n");
  }
  std::fflush(stderr);
  _exit(1);
}

// A Wayland session: there the X11 grab (on XWayland) sees only black, so the screen-cast portal
// is the only grab, whatever platform plugin Qt itself runs on.
bool WaylandSession() {
  const char* display = std::getenv("WAYLAND_DISPLAY");
  const char* type = std::getenv("XDG_SESSION_TYPE");
  return (display && *display) || (type && std::string(type) == "wayland");
}

}  // namespace

int main(int argc, char* argv[]) {
  using namespace trelvin;
  // The argument text that follows the program's name, as one line.
  std::string command_line;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) command_line += ' ';
    command_line += argv[i];
  }
  // Started by a screen-saver daemon: the screen-saver run mode, inside the daemon's window.
  const ScreenSaverCommandLine::Reading saver = ScreenSaverCommandLine::Read(
      std::vector<std::string>(argv + 1, argv + argc), std::getenv("XSCREENSAVER_WINDOW"));
  if (!saver.error.empty()) {
    std::fprintf(stderr, "trelvinshow: %s\n", saver.error.c_str());
    return 2;
  }
  if (saver.target) {
    command_line = "/s";
    ScreenSaverHost::RestoreRuntimeDirectory();
  }

  // Beyond a file-size limit a write must fail with EFBIG, which the writers clean up after,
  // rather than end the program and leave a half-written file behind.
  std::signal(SIGXFSZ, SIG_IGN);

  const QtMessageHandler previous_handler = qInstallMessageHandler(StartUpMessage);
  QApplication app(argc, argv);
  qInstallMessageHandler(previous_handler);
  for (const auto& [type, text] : held_messages) {
    qt_message_output(type, QMessageLogContext(), text);
  }
  held_messages.clear();
  QApplication::setApplicationName("TrelvinShow");
  QIcon icon;
  icon.addFile(":/trelvin/icon32.png", QSize(32, 32));
  icon.addFile(":/trelvin/icon16.png", QSize(16, 16));
  QApplication::setWindowIcon(icon);
  // The face of the fonts the program was drawn with, for message boxes and dialogs; a window with
  // a fixed layout sizes it so that its captions fit (FitCaptionFont).
  QFont font("Liberation Sans");
  font.setPointSizeF(8.0);
  font.setStyleHint(QFont::SansSerif);
  QApplication::setFont(font);

#ifdef TRELVIN_TEST_HOOKS
  StartSignal::Install();
#endif
  QtWindowRuntime runtime;
  QtSettingsStore user_settings;
  ReadOnlySettingsStore read_only_settings(user_settings);
  SettingsStore& settings =
      saver.target ? static_cast<SettingsStore&>(read_only_settings) : user_settings;
  std::unique_ptr<ScreenSaverHost> saver_host;
  if (saver.target) {
    saver_host = std::make_unique<ScreenSaverHost>(saver.target->window);
    if (!saver_host->Problem().empty()) {
      std::fprintf(stderr, "trelvinshow: %s\n", saver_host->Problem().c_str());
      return 1;
    }
    runtime.EmbedShowsIn(saver_host.get());
  }
  PosixFileSystem files;
  SystemClock clock;
  LinuxKnownPaths known_paths;
  PosixFileLock file_lock;
  FailureLog failure_log(files, clock, file_lock, known_paths.FailureLogPath());
  const ScopedFailureSink failures_logged(failure_log);
  StandardRandom random;
  XdgShell shell;
  QtInstanceLock user_instance;
  NoInstanceLock module_instance;
  InstanceLock& instance =
      saver.target ? static_cast<InstanceLock&>(module_instance) : user_instance;
  QtFolderDialog folder_dialog(runtime);
  QtLocale locale;
  X11ScreenGrab x11_grab;
  PortalScreenCast portal;
  PipeWireFrames frames;
  ScreenCastToken token(ScreenCastToken::DefaultPath());
  WaylandScreenGrab wayland_grab(portal, frames, token);
  ScreenGrab& screen_grab = WaylandSession() ? static_cast<ScreenGrab&>(wayland_grab)
                                             : static_cast<ScreenGrab&>(x11_grab);
  LibJpegConverter jpeg;
  GstMediaEngine media_engine(GstMediaEngine::AudioSinkFromEnvironment());
  MciInterpreter media(media_engine);
  QtPictures pictures;
  QtPrinter printer;
  QtMessageBox message_box;
  DesktopWallpaper wallpaper;
  QtCursor cursor;
  X11WindowActivation windows;
  LinuxScreenSaverLock saver_lock;
  DBusActionNotifications notifications;
  // The video's progress and end reach the interface thread through Qt's event queue.
  video::BackgroundVideoMaker video([](std::function<void()> job) {
    QMetaObject::invokeMethod(qApp, std::move(job), Qt::QueuedConnection);
  });

  Services services{runtime,  settings,      files,         clock,       random,      shell,
                    instance, folder_dialog, known_paths,   locale,      screen_grab, jpeg,
                    media,    pictures,      printer,       message_box, wallpaper,   cursor,
                    windows,  saver_lock,    notifications, video};
  // A capture run's pauses, disk floor, display hold and icon; the screen-saver module never
  // captures, so it holds nothing awake.
  StatvfsDiskSpace disk;
  DBusSessionPresence presence;
  DBusDisplayInhibit inhibit;
  QtTrayIcon tray_icon;
  CaptureKeepServices keeping{disk, presence, inhibit, tray_icon};
  FormMainSlide formMainSlide(services, command_line, saver.target ? nullptr : &keeping);
  // Log-off, SIGTERM and SIGHUP close the windows as the user would, so nothing is lost.
  std::unique_ptr<SessionEnd> session_end;
  if (!saver.target)
    session_end = std::make_unique<SessionEnd>([&] { UnloadAtSessionEnd(formMainSlide); });
  return runtime.Run(formMainSlide);
}
