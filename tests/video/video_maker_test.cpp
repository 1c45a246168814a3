// The video maker on real files: nothing but a complete video ever appears under the video's
// name, and pictures of another shape are letter-boxed.
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "core/base/BmpFile.h"
#include "support/PosixFiles.h"
#include "trelvin_jpeg.h"
#include "video/BackgroundVideoMaker.h"
#include "video/FrameLoader.h"
#include "video/MakeVideo.h"

namespace trelvin::video {
namespace {

namespace fs = std::filesystem;

using test_support::ReadFile;

class VideoMakerTest : public ::testing::Test {
 protected:
  // A JPEG of w x h: white, with the left `black` columns black.
  void WriteJpeg(const fs::path& path, int w, int h, int black = 0) {
    Bitmap image;
    image.Resize(w, h, MakeRgb(255, 255, 255));
    for (int y = 0; y < h; ++y) std::fill_n(image.Row(y), black, 0);
    test_support::WriteFile(bmp_, EncodeBmp24(image));
    ASSERT_EQ(BmpToJpeg(bmp_.c_str(), path.c_str(), 95), 0);
  }
  std::vector<std::string> Names() const { return test_support::Names(dir_); }
  test_support::TempDir bmps_{"trelvin-video-bmp"};
  const std::string bmp_ = bmps_.slash() + "picture.bmp";
  test_support::TempDir temp_{"trelvin-video"};
  const fs::path dir_{temp_.path()};
};

TEST_F(VideoMakerTest, OnlyACompleteVideoEverTakesItsName) {
  for (int i = 0; i < 6; ++i)
    WriteJpeg(dir_ / ("2026120812000" + std::to_string(i) + ".jpg"), 64, 48);
  const fs::path target = dir_ / "run.webm";
  { std::ofstream(target) << "an older video"; }
  const std::vector<std::string> before = Names();

  // Cancelled half-way: the older file is as it was, and nothing else is left behind.
  std::atomic<bool> cancel{false};
  VideoRequest request{dir_.string(), "", "", 10, 0, target.string()};
  VideoResult result = MakeVideo(
      request, [&](int done, int) { cancel = done >= 3; }, &cancel);
  EXPECT_EQ(result.status, VideoStatus::kCancelled);
  EXPECT_EQ(ReadFile(target), "an older video");
  EXPECT_EQ(Names(), before);

  // Into a folder that is not there: refused before anything is encoded.
  request.output = (dir_ / "gone" / "run.webm").string();
  EXPECT_EQ(MakeVideo(request, nullptr, nullptr).status, VideoStatus::kNotWritable);
  EXPECT_EQ(Names(), before);

  // Complete: it replaces the file it was asked to write, in one step.
  request.output = target.string();
  result = MakeVideo(request, nullptr, nullptr);
  ASSERT_EQ(result.status, VideoStatus::kDone);
  EXPECT_EQ(result.frames, 6);
  EXPECT_EQ(ReadFile(target).substr(0, 4), "\x1a\x45\xdf\xa3");  // the EBML header
  EXPECT_EQ(Names(), before);
}

// Probe: luma at (x, y) of the frame, expected black (limited range 16) or white (235).
struct Probe {
  int x, y;
  bool white;
};
struct PlaceCase {
  int source_w, source_h, black_columns;
  std::vector<Probe> probes;
};

TEST_F(VideoMakerTest, PicturesOfAnotherShapeAreLetterBoxed) {
  const std::vector<PlaceCase> cases = {
      // Same shape, four times as large: shrunk while decoding, nothing cut off.
      {256, 128, 128, {{2, 16, false}, {30, 16, false}, {34, 16, true}, {62, 16, true}}},
      // Square: bars left and right.
      {32,
       32,
       0,
       {{2, 16, false}, {14, 16, false}, {18, 16, true}, {46, 16, true}, {62, 16, false}}},
      // Wider: bars above and below.
      {128, 32, 0, {{32, 2, false}, {32, 6, false}, {32, 16, true}, {32, 29, false}}},
  };
  FrameLoader loader;
  Frame frame;
  for (const PlaceCase& c : cases) {
    const fs::path path = dir_ / "picture.jpg";
    WriteJpeg(path, c.source_w, c.source_h, c.black_columns);
    frame.Resize(64, 32);
    ASSERT_TRUE(loader.Load(path.string(), frame));
    for (const Probe& p : c.probes) {
      const int luma = frame.y[static_cast<std::size_t>(p.y * 64 + p.x)];
      EXPECT_NEAR(luma, p.white ? 235 : 16, 12)
          << c.source_w << "x" << c.source_h << " at " << p.x << "," << p.y;
    }
  }
  // Cut short: damaged, refused.
  const std::string whole = ReadFile(dir_ / "picture.jpg");
  { std::ofstream(dir_ / "cut.jpg", std::ios::binary) << whole.substr(0, whole.size() / 2); }
  EXPECT_FALSE(loader.Load((dir_ / "cut.jpg").string(), frame));
}

// The interface thread's queue as the test plays it: jobs posted from any thread, run when the
// test thread drains them. With `wait_for_jobs` a poster waits until its job has run, so what
// the job does is seen by the poster's next step.
class JobQueue {
 public:
  bool wait_for_jobs = false;
  void Post(std::function<void()> job) {
    std::unique_lock<std::mutex> lock(mutex_);
    const long long mine = ++posted_;
    jobs_.push_back(std::move(job));
    ready_.notify_all();
    if (wait_for_jobs) ready_.wait(lock, [&] { return ran_ >= mine; });
  }
  // Runs jobs on this thread until `until` holds after one.
  void RunUntil(const std::function<bool()>& until) {
    while (!until()) {
      std::unique_lock<std::mutex> lock(mutex_);
      ready_.wait(lock, [&] { return !jobs_.empty(); });
      std::function<void()> job = std::move(jobs_.front());
      jobs_.pop_front();
      lock.unlock();
      job();
      lock.lock();
      ++ran_;
      ready_.notify_all();
    }
  }

 private:
  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<std::function<void()>> jobs_;
  long long posted_ = 0;
  long long ran_ = 0;
};

TEST_F(VideoMakerTest, InTheBackgroundEveryCallbackRunsOnTheInterfaceThread) {
  for (int i = 10; i < 40; ++i)
    WriteJpeg(dir_ / ("202612081200" + std::to_string(i) + ".jpg"), 96, 64);
  JobQueue queue;
  BackgroundVideoMaker maker([&](std::function<void()> job) { queue.Post(std::move(job)); });
  const std::thread::id interface_thread = std::this_thread::get_id();
  const VideoRun run{dir_.string(), "20261208120010", "20261208120039", 30};
  std::vector<int> progress;
  std::optional<VideoOutcome> outcome;
  auto progress_fn = [&](int done, int) {
    EXPECT_EQ(std::this_thread::get_id(), interface_thread);
    progress.push_back(done);
  };
  auto done_fn = [&](const VideoOutcome& o) {
    EXPECT_EQ(std::this_thread::get_id(), interface_thread);
    outcome = o;
  };

  ASSERT_TRUE(maker.Start(run, progress_fn, done_fn));
  EXPECT_TRUE(maker.Busy());
  EXPECT_FALSE(maker.Start(run, nullptr, nullptr));  // one at a time
  queue.RunUntil([&] { return outcome.has_value(); });
  EXPECT_FALSE(maker.Busy());
  ASSERT_TRUE(outcome->made) << outcome->reason;
  EXPECT_EQ(outcome->frames, 30);
  EXPECT_EQ(fs::path(outcome->path).filename(), "20261208120010-20261208120039.webm");
  EXPECT_EQ(progress.size(), 30u);
  EXPECT_EQ(progress.back(), 30);

  // Cancelled at its first picture: not made, nothing to tell, nothing left behind.
  const std::vector<std::string> before = Names();
  outcome.reset();
  queue.wait_for_jobs = true;
  ASSERT_TRUE(maker.Start(
      run, [&](int, int) { maker.Cancel(); }, done_fn));
  queue.RunUntil([&] { return outcome.has_value(); });
  EXPECT_FALSE(outcome->made);
  EXPECT_EQ(outcome->reason, "");
  EXPECT_EQ(Names(), before);

  // Nothing between the stamps: a reason to tell.
  outcome.reset();
  ASSERT_TRUE(maker.Start({dir_.string(), "20270101000000", "", 0}, nullptr, done_fn));
  queue.RunUntil([&] { return outcome.has_value(); });
  EXPECT_FALSE(outcome->made);
  EXPECT_NE(outcome->reason, "");
}

}  // namespace
}  // namespace trelvin::video
