#pragma once

#include "platform/services/MediaControl.h"

namespace trelvin {

// Until the system's media control interface is wired: every command fails with "device not
// ready" (MCIERR_BASE + 20).
class NoMediaControl : public MediaControl {
 public:
  static constexpr std::uint32_t kNotReady = 276;
  std::uint32_t mciSendString(const std::string&, WindowHandle) override { return kNotReady; }
  std::uint32_t mciSendString(const std::string&, std::string* reply, WindowHandle) override {
    if (reply) reply->clear();
    return kNotReady;
  }
};

}  // namespace trelvin
