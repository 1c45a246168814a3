// The program: wires the real services together and hands the start-up window to the runtime.
// First: the other system headers build on it.
#include "os/windows/WinApi.h"

#include <commctrl.h>
#include <objbase.h>

#include <string>

#include "core/services/FailureLog.h"
#include "core/services/StandardRandom.h"
#include "core/shell/FormMainSlide.h"
#include "os/windows/app/WinClock.h"
#include "os/windows/app/WinCommandLine.h"
#include "os/windows/app/WinInstanceLock.h"
#include "os/windows/app/WinKnownPaths.h"
#include "os/windows/app/WinLocale.h"
#include "os/windows/app/WinScreenSaverLock.h"
#include "os/windows/app/WinSettingsStore.h"
#include "os/windows/capture/GdiScreenGrab.h"
#include "os/windows/capture/WinJpegConverter.h"
#include "os/windows/capture/WinWindowActivation.h"
#include "os/windows/desktop/WicPictures.h"
#include "os/windows/desktop/WinNotifications.h"
#include "os/windows/desktop/WinPrinter.h"
#include "os/windows/desktop/WinShell.h"
#include "os/windows/desktop/WinWallpaper.h"
#include "os/windows/files/WinFileLock.h"
#include "os/windows/files/WinFileSystem.h"
#include "os/windows/media/WinMediaControl.h"
#include "os/windows/window/WinCursor.h"
#include "os/windows/window/WinFolderDialog.h"
#include "os/windows/window/WinMessageBox.h"
#include "os/windows/window/WinWindowRuntime.h"

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

    Services services{runtime,  settings,      files,        clock,       random,      shell,
                      instance, folder_dialog, known_paths,  locale,      screen_grab, jpeg,
                      media,    pictures,      printer,      message_box, wallpaper,   cursor,
                      windows,  saver_lock,    notifications};
    FormMainSlide formMainSlide(services, command_line);
    exit_code = runtime.Run(formMainSlide);
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return exit_code;
}
