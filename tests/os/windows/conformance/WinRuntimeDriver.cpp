// The conformance suite's driver for the Win32 runtime, on the display with-display.sh started.
#include <chrono>

#include "conformance/RuntimeDriver.h"
#include "core/base/VirtualKeys.h"
#include "core/runtime/FormRules.h"
#include "os/windows/WinApi.h"
#include "os/windows/window/WinFormWindow.h"
#include "os/windows/window/WinWindowRuntime.h"

namespace trelvin::conformance {
namespace {

// Posted messages carry no keyboard state: the thread's is set as the keys would have set it.
void HoldModifiers(std::int16_t shift) {
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_SHIFT] = (shift & kShiftMask) ? 0x80 : 0;
  keys[VK_CONTROL] = (shift & kCtrlMask) ? 0x80 : 0;
  keys[VK_MENU] = (shift & kAltMask) ? 0x80 : 0;
  SetKeyboardState(keys);
}

class WinRuntimeDriver : public RuntimeDriver {
 public:
  bool Open(Form& form) override { return runtime_.Open(form, nullptr) != nullptr; }
  void Discard(Form& form) override { runtime_.DestroyFormWindow(form); }
  void ShowModal(Form& form, Form& owner) override { runtime_.ShowModal(form, owner); }

  void PostKey(Form& form, std::int16_t key_code, std::int16_t shift) override {
    HWND window = runtime_.HandleFor(form);
    HWND focus = GetFocus();
    HoldModifiers(shift);
    // As the system sends them: with Alt, and F10, as system keys.
    const bool system = (shift & kAltMask) || key_code == kVkF10;
    PostMessageW(focus && IsChild(window, focus) ? focus : window,
                 system ? WM_SYSKEYDOWN : WM_KEYDOWN, static_cast<WPARAM>(key_code),
                 (shift & kAltMask) ? LPARAM{1} << 29 : 0);
  }
  void PostMouseDown(Form& form, std::int16_t button, std::int16_t shift, int x, int y) override {
    HoldModifiers(shift);
    const UINT message = button == kLeftButton    ? WM_LBUTTONDOWN
                         : button == kRightButton ? WM_RBUTTONDOWN
                                                  : WM_MBUTTONDOWN;
    WPARAM keys = 0;
    if (shift & kShiftMask) keys |= MK_SHIFT;
    if (shift & kCtrlMask) keys |= MK_CONTROL;
    PostMessageW(runtime_.HandleFor(form), message, keys, MAKELPARAM(x, y));
  }
  void PostClose(Form& form) override { PostMessageW(runtime_.HandleFor(form), WM_CLOSE, 0, 0); }

  bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) override {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
      if (std::chrono::steady_clock::now() > end) return false;
      // Waits for the next message, or a moment when none comes.
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
      MSG msg;
      while (!done() && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (WinFormWindow::PreTranslate(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
    }
    return true;
  }

  Rect WindowRect(Form& form) override {
    RECT r{};
    GetWindowRect(runtime_.HandleFor(form), &r);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
  }
  bool FullScreen(Form& form) override {
    return (GetWindowLongW(runtime_.HandleFor(form), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  }
  Size PrimaryScreen() override { return runtime_.ScreenSize(); }
  Control* Focused(Form& form) override {
    WinFormWindow* window = runtime_.WindowFor(form);
    return window ? window->FocusedControl() : nullptr;
  }

 private:
  WinWindowRuntime runtime_;
};

}  // namespace

std::unique_ptr<RuntimeDriver> MakeDriver() { return std::make_unique<WinRuntimeDriver>(); }

}  // namespace trelvin::conformance
