// The video of a capture run as the desktop offers it: the end-of-run notice, its action, the
// notices that tell how the video went, on the fakes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/capture/RunVideo.h"
#include "fakes/FakePlatform.h"
#include "fakes/NativePath.h"

namespace trelvin {
namespace {

class RunVideoTest : public ::testing::Test {
 protected:
  // A run of `count` pictures in /pics, the last two sharing their second.
  void Run(int count) {
    run_.BeginRun();
    for (int i = 0; i < count; ++i) {
      const int second = i + 1 < count ? i : i - 1;
      std::string base = NativePath("/pics/202612081200" + std::to_string(10 + second));
      if (i + 1 == count) base += "-1";
      run_.Kept(base);
    }
    run_.EndRun();
  }
  fakes::FakePlatform p_;
  RunVideo run_{p_.notifications, p_.video, p_.shell};
};

TEST_F(RunVideoTest, ARunOfManyPicturesOffersItsVideoAndTellsHowItWent) {
  Run(12);
  ASSERT_EQ(p_.notifications.shown.size(), 1u);
  EXPECT_EQ(p_.notifications.shown[0].first,
            "12 pictures in " + NativePath("/pics") + " — Make a video");
  ASSERT_EQ(p_.notifications.actions.size(), 1u);
  EXPECT_EQ(p_.notifications.actions[0].first, "Make a video");

  std::vector<int> progress;
  run_.on_progress = [&](int done, int total) { progress.push_back(done * 100 + total); };
  p_.notifications.actions[0].second();
  ASSERT_EQ(p_.video.started.size(), 1u);
  EXPECT_EQ(p_.video.started[0].folder, NativePath("/pics/"));
  EXPECT_EQ(p_.video.started[0].first_stamp, "20261208120010");
  EXPECT_EQ(p_.video.started[0].last_stamp, "20261208120020");
  EXPECT_EQ(p_.video.started[0].pictures, 12);
  p_.video.Progress(3, 12);
  EXPECT_EQ(progress, std::vector<int>{312});

  // One at a time: a second request is told, not started.
  EXPECT_FALSE(run_.MakeVideo());
  EXPECT_EQ(p_.video.started.size(), 1u);
  EXPECT_EQ(p_.notifications.shown.back().first, "A video is being made already");

  // Made: told with the file's name; its action opens the file.
  const std::string path = NativePath("/pics/20261208120010-20261208120020.webm");
  p_.video.Finish({true, path, "", 11, 1});
  EXPECT_EQ(p_.notifications.shown.back().first, "Video made");
  EXPECT_EQ(
      p_.notifications.shown.back().second,
      "20261208120010-20261208120020.webm: 11 pictures. 1 damaged pictures were passed over.");
  ASSERT_EQ(p_.notifications.actions.back().first, "Open");
  p_.notifications.actions.back().second();
  ASSERT_EQ(p_.shell.calls.size(), 1u);
  EXPECT_EQ(p_.shell.calls[0].target, path);
  EXPECT_FALSE(p_.shell.calls[0].program);

  // Failed: told like a capture failure; cancelled: nothing to tell.
  ASSERT_TRUE(run_.MakeVideo());
  p_.video.Finish({false, "", "writing the video failed (is the disk full?)", 0, 0});
  EXPECT_EQ(p_.notifications.shown.back().first, "Trelvin Show cannot make the video");
  const std::size_t told = p_.notifications.shown.size();
  ASSERT_TRUE(run_.MakeVideo());
  p_.video.Cancel();
  EXPECT_EQ(p_.notifications.shown.size(), told);
}

TEST_F(RunVideoTest, AShortRunEndsWithoutTheOffer) {
  Run(RunVideo::kOfferFrom - 1);
  EXPECT_TRUE(p_.notifications.shown.empty());
  // The icon's menu can still make its video.
  EXPECT_TRUE(run_.MakeVideo());
  EXPECT_EQ(p_.video.started.at(0).pictures, RunVideo::kOfferFrom - 1);
}

}  // namespace
}  // namespace trelvin
