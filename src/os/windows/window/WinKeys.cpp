#include "os/windows/window/WinKeys.h"

#include "os/windows/WinApi.h"

#include "core/runtime/FormRules.h"

namespace trelvin {

std::int16_t ShiftState() {
  return ShiftState(GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0,
                    GetKeyState(VK_MENU) < 0);
}

}  // namespace trelvin
