// The PipeWire frame source where no stream can be had: it says so within its time limit and never
// hands out pixels, without blocking the caller.
#include <gtest/gtest.h>
#include <unistd.h>

#include <gst/gst.h>

#include <chrono>
#include <thread>

#include "os/linux/capture/PipeWireFrames.h"

namespace trelvin {
namespace {

constexpr Rgb kBack = 0xF0F0F0;

// Every pixel of `bitmap` in the background colour.
::testing::AssertionResult AllBackground(const Bitmap& bitmap) {
  return ::testing::AssertionResult(bitmap.pixels ==
                                    std::vector<std::uint32_t>(bitmap.pixels.size(), kBack));
}

TEST(PipeWireFramesTest, NothingStartedIsEndedAndCopiesNothing) {
  PipeWireFrames frames;
  Bitmap bitmap;
  bitmap.Resize(16, 8, 0x123456);
  EXPECT_TRUE(frames.Ended());
  EXPECT_FALSE(frames.CopyLatest(bitmap, 16, 8, std::nullopt));
  EXPECT_EQ(bitmap.Row(3)[3], 0x123456u);  // untouched without a background
  EXPECT_FALSE(frames.CopyLatest(bitmap, 16, 8, kBack));
  EXPECT_TRUE(AllBackground(bitmap));
  frames.Stop();  // harmless
}

TEST(PipeWireFramesTest, RemoteThatIsNotPipeWireEndsWithinTheLimitAndGivesNoPixels) {
  gst_init(nullptr, nullptr);
  GstElementFactory* factory = gst_element_factory_find("pipewiresrc");
  if (!factory) GTEST_SKIP() << "gstreamer1.0-pipewire is not installed";
  gst_object_unref(factory);

  int ends[2];
  ASSERT_EQ(pipe(ends), 0);
  close(ends[1]);  // a remote that answers nothing
  PipeWireFrames frames(std::chrono::milliseconds(500));
  const auto start = std::chrono::steady_clock::now();
  frames.Start(ends[0], 42);
  // Start returned at once: the stream comes up (or not) on another thread.
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
  Bitmap bitmap;
  bitmap.Resize(16, 8, 0x123456);
  bool ended = false;
  while (!ended && std::chrono::steady_clock::now() - start < std::chrono::seconds(15)) {
    EXPECT_FALSE(frames.CopyLatest(bitmap, 16, 8, kBack));
    ended = frames.Ended();
    if (!ended) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  EXPECT_TRUE(ended) << "a stream that cannot start must count as ended";
  EXPECT_FALSE(frames.CopyLatest(bitmap, 16, 8, kBack));
  EXPECT_TRUE(AllBackground(bitmap));
  frames.Stop();
  EXPECT_TRUE(frames.Ended());
}

}  // namespace
}  // namespace trelvin
