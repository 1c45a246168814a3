#include "os/windows/app/WinDisplayInhibit.h"

#include "os/windows/WinApi.h"

namespace trelvin {

bool WinDisplayInhibit::Hold() {
  held_ = SetThreadExecutionState(ES_CONTINUOUS | ES_DISPLAY_REQUIRED) != 0;
  return held_;
}

void WinDisplayInhibit::Release() {
  if (!held_) return;
  held_ = false;
  SetThreadExecutionState(ES_CONTINUOUS);
}

}  // namespace trelvin
