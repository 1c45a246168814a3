#pragma once

#include <memory>

#include "core/controls/Control.h"
#include "os/windows/window/WinControlView.h"

namespace trelvin {

class WinFormWindow;

// Creates the view that mirrors `control` in `window`, or nullptr for a kind of control that has
// no view on Windows (the form is then not shown; see docs/windows-choices.md).
std::unique_ptr<WinControlView> CreateControlView(Control& control, WinFormWindow& window);

}  // namespace trelvin
