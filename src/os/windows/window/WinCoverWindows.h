#pragma once

#include "os/windows/WinApi.h"

#include <functional>
#include <vector>

#include "core/runtime/MonitorCovers.h"

namespace trelvin {

// The covers of the other monitors while `shown` (the slide show's window, of `form`) covers one:
// this reports the monitors (WM_DISPLAYCHANGE, which a hidden window of our own receives even
// while no cover is up) and the covers' keys, clicks and closing to the core's MonitorCovers, and
// puts up the windows it is told to. The covers never take the keyboard, so keys stay with the
// shown window.
class WinCoverWindows : private CoverWindows {
 public:
  // The areas of every monitor, in desktop coordinates.
  using Monitors = std::function<std::vector<RECT>()>;
  static std::vector<RECT> AllMonitors();

  WinCoverWindows(HWND shown, Form& form, FormEvents& events, Monitors monitors = AllMonitors);
  ~WinCoverWindows() override;
  WinCoverWindows(const WinCoverWindows&) = delete;
  WinCoverWindows& operator=(const WinCoverWindows&) = delete;

  // The covers now up.
  const std::vector<HWND>& Covers() const { return covers_; }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT Handle(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  // Tells the core the monitors now and where the shown window is.
  void Follow();
  void PlaceCover(std::size_t index, Rect area, Rgb colour) override;
  void RemoveCovers(std::size_t count) override;

  HWND shown_;
  MonitorCovers rules_;
  Monitors monitors_;
  HBRUSH brush_ = nullptr;
  Rgb colour_ = 0;
  HWND watcher_ = nullptr;
  std::vector<HWND> covers_;
};

}  // namespace trelvin
