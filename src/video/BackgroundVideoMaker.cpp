#include "video/BackgroundVideoMaker.h"

#include <atomic>

#include "video/MakeVideo.h"

namespace trelvin::video {

// What the worker and the posted jobs share with the maker: the cancel flag the worker reads,
// and whether the maker is still there to take the jobs (read on the interface thread only).
struct BackgroundVideoMaker::Shared {
  std::atomic<bool> cancel{false};
  bool alive = true;
};

BackgroundVideoMaker::BackgroundVideoMaker(Post post)
    : post_(std::move(post)), shared_(std::make_shared<Shared>()) {}

BackgroundVideoMaker::~BackgroundVideoMaker() {
  shared_->alive = false;
  shared_->cancel = true;
  if (worker_.joinable()) worker_.join();
}

bool BackgroundVideoMaker::Start(const VideoRun& run, Progress progress, Done done) {
  if (busy_) return false;
  if (worker_.joinable()) worker_.join();  // the last one has posted its end already
  busy_ = true;
  shared_->cancel = false;
  VideoRequest request;
  request.folder = run.folder;
  request.from = run.first_stamp;
  request.to = run.last_stamp;
  auto shared = shared_;
  worker_ =
      std::thread([this, request, shared, progress = std::move(progress), done = std::move(done)] {
        const VideoResult result = MakeVideo(
            request,
            [&](int count, int total) {
              post_([shared, progress, count, total] {
                if (shared->alive && progress) progress(count, total);
              });
            },
            &shared->cancel);
        VideoOutcome outcome;
        outcome.made = result.status == VideoStatus::kDone;
        outcome.path = result.path;
        outcome.frames = result.frames;
        outcome.damaged = result.damaged;
        if (!outcome.made && result.status != VideoStatus::kCancelled) {
          outcome.reason = DescribeFailure(result, request);
        }
        post_([this, shared, done, outcome] {
          if (!shared->alive) return;
          busy_ = false;
          if (done) done(outcome);
        });
      });
  return true;
}

void BackgroundVideoMaker::Cancel() { shared_->cancel = true; }

}  // namespace trelvin::video
