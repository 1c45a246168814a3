#include "os/windows/window/WinCursor.h"

#include <windows.h>

namespace trelvin {

int WinCursor::ShowCursor(bool show) { return ::ShowCursor(show ? TRUE : FALSE); }

}  // namespace trelvin
