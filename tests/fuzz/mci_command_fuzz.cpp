// Media command texts carry file names, which may hold any byte but "/" and NUL.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "os/linux/media/mci/MciInterpreter.h"

namespace {

class IdealStream : public trelvin::MediaStream {
 public:
  explicit IdealStream(bool midi) : midi_(midi) {}
  bool Play() override {
    mode_ = mode_ == trelvin::StreamMode::kPlaying ? trelvin::StreamMode::kStopped
                                                   : trelvin::StreamMode::kPlaying;
    return true;
  }
  trelvin::StreamMode Mode() const override { return mode_; }
  bool UsesSynthesiser() const override { return midi_; }

 private:
  bool midi_;
  trelvin::StreamMode mode_ = trelvin::StreamMode::kStopped;
};

// Files whose names end in "mid" are MIDI, names holding "x" do not exist.
class IdealEngine : public trelvin::MediaEngine {
 public:
  std::unique_ptr<trelvin::MediaStream> Open(const std::string& path, trelvin::DeviceType type,
                                             trelvin::MediaError& error) override {
    if (path.find('x') != std::string::npos) {
      error = trelvin::MediaError::kFileNotFound;
      return nullptr;
    }
    const bool midi = path.size() >= 3 && path.compare(path.size() - 3, 3, "mid") == 0;
    if (type == trelvin::DeviceType::kSequencer && !midi) {
      error = trelvin::MediaError::kInvalidFile;
      return nullptr;
    }
    return std::make_unique<IdealStream>(midi);
  }
};

}  // namespace

// Each line of the input is one command, sent to one interpreter in turn.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  IdealEngine engine;
  trelvin::MciInterpreter interpreter(engine);
  const std::string all(reinterpret_cast<const char*>(data), size);
  std::size_t start = 0;
  while (start <= all.size()) {
    std::size_t end = all.find('\n', start);
    if (end == std::string::npos) end = all.size();
    std::string reply;
    interpreter.mciSendString(all.substr(start, end - start), &reply, 0);
    if (!reply.empty() && reply != "playing" && reply != "stopped" && reply != "not ready") {
      std::abort();
    }
    start = end + 1;
  }
  // Whatever happened, "close all" succeeds and leaves nothing open.
  if (interpreter.mciSendString("close all", 0) != 0) std::abort();
  return 0;
}
