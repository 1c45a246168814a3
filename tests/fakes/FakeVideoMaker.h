#pragma once

#include <functional>
#include <utility>
#include <vector>

#include "core/services/VideoMaker.h"

namespace trelvin::fakes {

// An ideal video maker: it makes nothing by itself; the test finishes the video it started.
class FakeVideoMaker : public VideoMaker {
 public:
  bool Start(const VideoRun& run, Progress progress, Done done) override {
    if (Busy() || fails_to_start) return false;
    started.push_back(run);
    progress_ = std::move(progress);
    done_ = std::move(done);
    return true;
  }
  bool Busy() const override { return static_cast<bool>(done_); }
  void Cancel() override { Finish({}); }
  // Reports `done` of `total` pictures, as the interface thread would get it.
  void Progress(int done, int total) {
    if (progress_) progress_(done, total);
  }
  // Ends the video being made with `outcome`.
  void Finish(const VideoOutcome& outcome) {
    Done done = std::move(done_);
    done_ = nullptr;
    if (done) done(outcome);
  }
  std::vector<VideoRun> started;  // every run a video was started of, in order
  bool fails_to_start = false;

 private:
  VideoMaker::Progress progress_;
  Done done_;
};

}  // namespace trelvin::fakes
