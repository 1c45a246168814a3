#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/Types.h"
#include "platform/VirtualKeys.h"
#include "platform/services/Picture.h"

namespace trelvin {

// The slide show's window: borderless and topmost over the primary screen, painted in the
// background colour with the picture in its place. Every key press (F10 and Alt included, which
// the system would otherwise keep for the menu) and every mouse press are handed on.
class WinShowWindow {
 public:
  // `shift`: 1 Shift, 2 Ctrl, 4 Alt, added up.
  std::function<void(VirtualKey key, std::int16_t shift)> on_key_down;
  std::function<void()> on_mouse_down;

  explicit WinShowWindow(Rgb background);
  ~WinShowWindow();
  WinShowWindow(const WinShowWindow&) = delete;
  WinShowWindow& operator=(const WinShowWindow&) = delete;

  // Opens the window over the primary screen, activated; false when it could not be made.
  bool Open(const wchar_t* title);
  HWND hwnd() const { return hwnd_; }
  // Shows `picture` in `place` (device pixels of the window); nullptr shows only the background.
  void SetPicture(std::shared_ptr<const Picture> picture, Rect place);

  // The key of a WM_KEYDOWN or WM_SYSKEYDOWN message, kVkNone for codes outside the table.
  static VirtualKey KeyOf(WPARAM wparam);
  // The keyboard's shift state now, as `on_key_down` gets it.
  static std::int16_t ShiftState();

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);

  Rgb background_;
  HWND hwnd_ = nullptr;
  std::shared_ptr<const Picture> picture_;
  Rect place_;
};

}  // namespace trelvin
