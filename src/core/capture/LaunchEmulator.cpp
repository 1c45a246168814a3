// Brings the game emulator to the front with one Enter, or starts it from the program's directory.
#include <string>
#include <vector>

#include "core/base/Guard.h"
#include "core/base/PathRules.h"
#include "core/capture/DesktopCapture.h"

namespace trelvin {

namespace {

constexpr const char* kEmulatorTitle = "Connectix Virtual Game Station";
constexpr const char* kEmulatorPattern = "*vgs.exe";

}  // namespace

void DesktopCapture::LaunchEmulator() {
  bool activated = false;
  Step([&] { activated = services_.windows.ActivateWindow(kEmulatorTitle); });
  if (activated) {
    Step([&] { services_.windows.SendEnter(); });
    return;
  }
  std::string program_dir;
  Step([&] { program_dir = services_.files.ExecutableDirectory(); });
  std::string file_name;
  Step([&] {
    Require(!program_dir.empty());
    const std::vector<std::string> names =
        services_.files.FindFiles(WithTrailingSeparator(program_dir), kEmulatorPattern, 1);
    if (!names.empty()) file_name = names.front();
  });
  if (file_name.empty()) return;
  // Started, never stopped; the emulator gets no Enter after a start.
  Step([&] { services_.shell.StartProgram(file_name, program_dir, kSwShowNormal); });
}

}  // namespace trelvin
