#pragma once

// What the conformance suite asks of a window runtime: each runtime's tests implement it once
// (QtRuntimeDriver.cpp, WinRuntimeDriver.cpp in tests/os/<system>/conformance/).
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>

#include "core/base/Types.h"
#include "core/controls/Form.h"

namespace trelvin::conformance {

class RuntimeDriver {
 public:
  virtual ~RuntimeDriver() = default;
  // Loads and shows `form` in a window of the runtime without waiting; false if it did not load.
  virtual bool Open(Form& form) = 0;
  // Destroys the window of `form`, if it has one.
  virtual void Discard(Form& form) = 0;
  // Shows `form` over `owner` as the runtime's ShowModal does: returns once the form unloaded.
  virtual void ShowModal(Form& form, Form& owner) = 0;
  // Posts a key press with the modifiers in `shift` to the focused control, else to the window.
  virtual void PostKey(Form& form, std::int16_t key_code, std::int16_t shift) = 0;
  // Posts a press of mouse `button` (kLeftButton, ...) with `shift` at (x, y) on the window.
  virtual void PostMouseDown(Form& form, std::int16_t button, std::int16_t shift, int x, int y) = 0;
  // Posts the system's request to close the window, as its close box sends it.
  virtual void PostClose(Form& form) = 0;
  // Handles events until `done` holds or `limit` passes (nested in a handler too); whether it held.
  virtual bool PumpUntil(const std::function<bool()>& done,
                         std::chrono::milliseconds limit = std::chrono::seconds(10)) = 0;
  // The window's frame on the screen in device pixels.
  virtual Rect WindowRect(Form& form) = 0;
  // Whether the window is shown full screen, above the task bar and panels.
  virtual bool FullScreen(Form& form) = 0;
  // The primary screen's size in device pixels.
  virtual Size PrimaryScreen() = 0;
  // The control of `form` that has the keyboard focus, or nullptr.
  virtual Control* Focused(Form& form) = 0;
};

// The driver of the runtime this test program is built with.
std::unique_ptr<RuntimeDriver> MakeDriver();

}  // namespace trelvin::conformance
