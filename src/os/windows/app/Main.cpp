// The program: wires the real services together and hands the start-up window to the runtime.
// First: the other system headers build on it.
#include "os/windows/WinApi.h"

#include <commctrl.h>
#include <objbase.h>

#include <functional>
#include <string>
#include <utility>

#include "core/services/FailureLog.h"
#include "core/services/StandardRandom.h"
#include "core/shell/FormMainSlide.h"
#include "core/shell/UnloadAtSessionEnd.h"
#include "os/windows/app/WinClock.h"
#include "os/windows/app/WinCommandLine.h"
#include "os/windows/app/WinDisplayInhibit.h"
#include "os/windows/app/WinInstanceLock.h"
#include "os/windows/app/WinKnownPaths.h"
#include "os/windows/app/WinLocale.h"
#include "os/windows/app/WinScreenSaverLock.h"
#include "os/windows/app/WinSessionPresence.h"
#include "os/windows/app/WinSettingsStore.h"
#include "os/windows/app/WinUiPost.h"
#include "os/windows/capture/GdiScreenGrab.h"
#include "os/windows/capture/WinJpegConverter.h"
#include "os/windows/capture/WinWindowActivation.h"
#include "os/windows/desktop/WicPictures.h"
#include "os/windows/desktop/WinNotifications.h"
#include "os/windows/desktop/WinPrinter.h"
#include "os/windows/desktop/WinShell.h"
#include "os/windows/desktop/WinTrayIcon.h"
#include "os/windows/desktop/WinWallpaper.h"
#include "os/windows/files/WinDiskSpace.h"
#include "os/windows/files/WinFileLock.h"
#include "os/windows/files/WinFileSystem.h"
#include "os/windows/media/WinMediaControl.h"
#include "os/windows/window/WinCursor.h"
#include "os/windows/window/WinFolderDialog.h"
#include "os/windows/window/WinMessageBox.h"
#include "os/windows/window/WinWindowRuntime.h"
#include "video/BackgroundVideoMaker.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  const std::string command_line = trelvin::ProcessArgumentText();

  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  // The shell's folder dialog and the WIC picture decoders need COM on this thread.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);

  using namespace trelvin;
  int exit_code = 0;
  {
    WinWindowRuntime runtime;
    WinSettingsStore settings;
    WinFileSystem files;
    WinClock clock;
    WinKnownPaths known_paths;
    WinFileLock file_lock;
    FailureLog failure_log(files, clock, file_lock, known_paths.FailureLogPath());
    const ScopedFailureSink failures_logged(failure_log);
    StandardRandom random;
    WinShell shell;
    WinInstanceLock instance;
    WinFolderDialog folder_dialog(runtime);
    WinLocale locale;
    GdiScreenGrab screen_grab;
    WinJpegConverter jpeg;
    // The song's notifications go to the slide show's window.
    WinMediaControl media([&runtime](WindowHandle form) { return runtime.HandleFor(form); });
    WicPictures pictures;
    WinPrinter printer;
    WinMessageBox message_box;
    WinWallpaper wallpaper;
    WinCursor cursor;
    WinWindowActivation windows;
    WinScreenSaverLock saver_lock;
    WinNotifications notifications;
    // The video's progress and end reach the interface thread through its message loop.
    WinUiPost ui_post;
    video::BackgroundVideoMaker video(
        [&ui_post](std::function<void()> job) { ui_post.Post(std::move(job)); });

    Services services{runtime,  settings,      files,         clock,       random,      shell,
                      instance, folder_dialog, known_paths,   locale,      screen_grab, jpeg,
                      media,    pictures,      printer,       message_box, wallpaper,   cursor,
                      windows,  saver_lock,    notifications, video};
    // A capture run's pauses, disk floor, display hold and icon, all on the window thread.
    WinDiskSpace disk;
    WinSessionPresence presence;
    WinDisplayInhibit inhibit;
    WinTrayIcon tray_icon;
    notifications.ShowThrough(&tray_icon);
    CaptureKeepServices keeping{disk, presence, inhibit, tray_icon};
    FormMainSlide formMainSlide(services, command_line, &keeping);
    runtime.on_session_end = [&] { UnloadAtSessionEnd(formMainSlide); };
    exit_code = runtime.Run(formMainSlide);
    runtime.on_session_end = nullptr;
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return exit_code;
}
