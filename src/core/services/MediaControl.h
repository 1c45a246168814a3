#pragma once

#include <cstdint>
#include <string>

#include "core/base/Types.h"

namespace trelvin {

// The media control interface, driven by its text commands.
class MediaControl {
 public:
  virtual ~MediaControl() = default;
  // Runs one command; 0 on success, otherwise a media error code. Never blocks on playback.
  virtual std::uint32_t mciSendString(const std::string& command, WindowHandle callback) = 0;
  // As above, and puts the command's reply text into `reply` (empty when it has none).
  virtual std::uint32_t mciSendString(const std::string& command, std::string* reply,
                                      WindowHandle callback) = 0;
};

}  // namespace trelvin
