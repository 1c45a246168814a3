#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>

#include "core/services/MediaControl.h"

namespace trelvin {

// The system's media control interface (winmm's mciSendStringW), command texts as they are.
// The core names a form's window by the form's own handle; `window_of` turns it into the window
// that gets the notifications (none when it has no window).
class WinMediaControl : public MediaControl {
 public:
  using WindowOf = std::function<void*(WindowHandle)>;

  explicit WinMediaControl(WindowOf window_of = {}) : window_of_(std::move(window_of)) {}

  std::uint32_t mciSendString(const std::string& command, WindowHandle callback) override;
  std::uint32_t mciSendString(const std::string& command, std::string* reply,
                              WindowHandle callback) override;

 private:
  WindowOf window_of_;
};

}  // namespace trelvin
