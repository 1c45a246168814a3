#pragma once

#include "os/windows/WinApi.h"

#include <functional>
#include <vector>

#include "core/base/Types.h"

namespace trelvin {

// While a window covers the primary monitor (the slide show), every other monitor is covered by a
// borderless window in `background`. The covers never take the keyboard, so keys stay with the
// shown window; mouse presses and closing there go to it. Monitors that come, go or move are
// followed (WM_DISPLAYCHANGE, which a hidden window of our own receives even while no cover is
// needed).
class WinCoverWindows {
 public:
  // The areas of every monitor but the primary, in desktop coordinates.
  using Monitors = std::function<std::vector<RECT>()>;
  static std::vector<RECT> OtherMonitors();

  WinCoverWindows(HWND shown, Rgb background, Monitors monitors = OtherMonitors);
  ~WinCoverWindows();
  WinCoverWindows(const WinCoverWindows&) = delete;
  WinCoverWindows& operator=(const WinCoverWindows&) = delete;

  // The covers now up, one per monitor but the primary.
  const std::vector<HWND>& Covers() const { return covers_; }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT Handle(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  // One cover on each monitor but the primary, made afresh.
  void Follow();
  HWND Create(const RECT& area, DWORD style);

  HWND shown_;
  HBRUSH brush_;
  Monitors monitors_;
  HWND watcher_ = nullptr;
  std::vector<HWND> covers_;
};

}  // namespace trelvin
