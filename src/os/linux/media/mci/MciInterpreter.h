#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "core/services/MediaControl.h"
#include "os/linux/media/mci/MciParser.h"
#include "os/linux/media/mci/MediaEngine.h"

namespace trelvin {

// The media control interface over a media engine: parses the command texts and keeps the table
// of open devices by alias. Understands "open", "close", "play" and "status ... mode".
class MciInterpreter : public MediaControl {
 public:
  explicit MciInterpreter(MediaEngine& engine) : engine_(engine) {}
  ~MciInterpreter() override;

  std::uint32_t mciSendString(const std::string& command, WindowHandle callback) override;
  std::uint32_t mciSendString(const std::string& command, std::string* reply,
                              WindowHandle callback) override;

  // How many devices are open.
  std::size_t OpenDeviceCount() const;

 private:
  struct Device {
    std::string alias;
    DeviceType type;
    std::unique_ptr<MediaStream> stream;
  };

  std::uint32_t Open(const mci::MciCommand& command);
  std::uint32_t Close(const mci::MciCommand& command);
  std::uint32_t Play(const mci::MciCommand& command);
  std::uint32_t Status(const mci::MciCommand& command, std::string* reply);
  // The open device named `name`, or null; `error` says why there is none.
  Device* Find(const mci::MciCommand& command, std::uint32_t& error);
  bool HoldsSynthesiser(const Device& device) const;

  MediaEngine& engine_;
  mutable std::mutex mutex_;
  std::vector<Device> devices_;
};

}  // namespace trelvin
