#pragma once

#include "core/base/Types.h"
#include "core/controls/Form.h"

namespace trelvin {

// The window runtime as the forms see it.
class WindowRuntime {
 public:
  virtual ~WindowRuntime() = default;
  // The primary screen's size in device pixels, whatever the desktop's scaling.
  virtual Size ScreenSize() const = 0;
  // Loads `form` (Form_Load), shows it modally over `owner` and returns once it has unloaded.
  virtual void ShowModal(Form& form, Form& owner) = 0;
  // Ends the process at once: no further window is shown and no unload handler runs.
  virtual void EndAtOnce() = 0;
};

}  // namespace trelvin
