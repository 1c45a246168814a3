#pragma once

#include <cstdint>
#include <string>

#include "platform/services/MediaControl.h"

namespace trelvin {

// The system's media control interface (winmm's mciSendStringW), command texts as they are.
class WinMediaControl : public MediaControl {
 public:
  std::uint32_t mciSendString(const std::string& command, WindowHandle callback) override;
  std::uint32_t mciSendString(const std::string& command, std::string* reply,
                              WindowHandle callback) override;
};

}  // namespace trelvin
