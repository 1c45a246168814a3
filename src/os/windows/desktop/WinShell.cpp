#include "os/windows/desktop/WinShell.h"

#include "os/windows/WinApi.h"

#include <cstdint>

#include "os/windows/WinText.h"

namespace trelvin {

bool WinShell::ShellExecute(const std::string& target, const std::string& working_directory,
                            int show_command) {
  if (target.empty()) return false;
  const std::wstring file = Widen(target);
  const std::wstring dir = Widen(working_directory);
  HINSTANCE result = ShellExecuteW(nullptr, nullptr, file.c_str(), nullptr,
                                   dir.empty() ? nullptr : dir.c_str(), show_command);
  // Values above 32 mean success; the rest are error codes.
  return reinterpret_cast<std::intptr_t>(result) > 32;
}

}  // namespace trelvin
