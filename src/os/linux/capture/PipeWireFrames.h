#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

#include "os/linux/capture/ScreenCastFrames.h"

namespace trelvin {

// Screen-cast frames from PipeWire through GStreamer:
//   pipewiresrc fd=FD path=NODE ! videoconvert ! video/x-raw,format=BGRx
//     ! appsink max-buffers=1 drop=true
// The sink keeps only the newest frame; a grab takes it without waiting. Pipeline state changes
// run on threads of their own with a time limit, so a stream that never comes up (or hangs while
// going down) never blocks the interface.
class PipeWireFrames : public ScreenCastFrames {
 public:
  // A stream that is not playing `start_limit` after its start counts as ended. pipewiresrc can
  // block inside the change to PLAYING for good (a stream nobody links), so the limit is checked
  // from the caller's side too, not only by the starting thread.
  explicit PipeWireFrames(std::chrono::milliseconds start_limit = std::chrono::seconds(5));
  // Waits a little for the streams being stopped, so none outlives the program's own end.
  ~PipeWireFrames() override;
  PipeWireFrames(const PipeWireFrames&) = delete;
  PipeWireFrames& operator=(const PipeWireFrames&) = delete;

  void Start(int fd, std::uint32_t node) override;
  void Stop() override;
  bool CopyLatest(Bitmap& target, int width, int height, std::optional<Rgb> background) override;
  bool Ended() override;

 private:
  struct Stream;
  // Runs `job` on a thread of its own, counted, so the destructor can wait for it.
  void Detach(std::function<void()> job);

  struct Jobs {
    std::mutex mutex;
    std::condition_variable idle;
    int running = 0;
  };

  std::chrono::milliseconds start_limit_;
  std::shared_ptr<Stream> stream_;
  // Shared with the threads, which may outlive this object when a stream hangs going down.
  std::shared_ptr<Jobs> jobs_ = std::make_shared<Jobs>();
};

}  // namespace trelvin
