// The program: wires the real services together and hands the start-up window to the runtime.
// First: the other system headers build on it.
#include "platform/windows/WinApi.h"

#include <commctrl.h>
#include <objbase.h>

#include <string>

#include "platform/StandardRandom.h"
#include "platform/windows/GdiScreenGrab.h"
#include "platform/windows/WicPictures.h"
#include "platform/windows/WinClock.h"
#include "platform/windows/WinCommandLine.h"
#include "platform/windows/WinCursor.h"
#include "platform/windows/WinFileSystem.h"
#include "platform/windows/WinFolderDialog.h"
#include "platform/windows/WinInstanceLock.h"
#include "platform/windows/WinJpegConverter.h"
#include "platform/windows/WinKnownPaths.h"
#include "platform/windows/WinLocale.h"
#include "platform/windows/WinMediaControl.h"
#include "platform/windows/WinMessageBox.h"
#include "platform/windows/WinPrinter.h"
#include "platform/windows/WinSettingsStore.h"
#include "platform/windows/WinShell.h"
#include "platform/windows/WinWallpaper.h"
#include "platform/windows/WinWindowActivation.h"
#include "platform/windows/WinWindowRuntime.h"
#include "shell/FormMainSlide.h"

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
    StandardRandom random;
    WinShell shell;
    WinInstanceLock instance;
    WinFolderDialog folder_dialog(runtime);
    WinKnownPaths known_paths;
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

    Services services{runtime,       settings,    files,     clock,       random, shell, instance,
                      folder_dialog, known_paths, locale,    screen_grab, jpeg,   media, pictures,
                      printer,       message_box, wallpaper, cursor,      windows};
    FormMainSlide formMainSlide(services, command_line);
    exit_code = runtime.Run(formMainSlide);
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return exit_code;
}
