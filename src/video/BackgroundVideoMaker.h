#pragma once

#include <functional>
#include <memory>
#include <thread>

#include "core/services/VideoMaker.h"

namespace trelvin::video {

// The VideoMaker service on a thread of its own. `post` is the window runtime's way of running a
// job on the interface thread (it must be safe to call from any thread); every callback goes
// through it. Destroying the maker (on the interface thread) stops the video and waits for the
// thread; callbacks posted before then are dropped.
class BackgroundVideoMaker : public VideoMaker {
 public:
  using Post = std::function<void(std::function<void()> job)>;

  explicit BackgroundVideoMaker(Post post);
  ~BackgroundVideoMaker() override;
  BackgroundVideoMaker(const BackgroundVideoMaker&) = delete;
  BackgroundVideoMaker& operator=(const BackgroundVideoMaker&) = delete;

  bool Start(const VideoRun& run, Progress progress, Done done) override;
  bool Busy() const override { return busy_; }
  void Cancel() override;

 private:
  struct Shared;
  Post post_;
  std::shared_ptr<Shared> shared_;
  std::thread worker_;
  bool busy_ = false;
};

}  // namespace trelvin::video
