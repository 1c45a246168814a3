// A kept capture run on the fakes, as one table of steps: skipping unchanged screens, the pauses
// (the user's, the session's, the disk's), the display hold, the notices and the icon.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/services/FailureLog.h"
#include "core/shell/FormMainSlide.h"
#include "fakes/FakeCaptureKeeping.h"
#include "fakes/FakePlatform.h"

namespace trelvin {
namespace {

constexpr int kSide = 100;  // a 100 x 100 screen: 0.1% is 10 pixels
constexpr std::int64_t kMb = 1024 * 1024;
constexpr std::int64_t kOneCapture = 54 + kSide * 3 * kSide + 2 * 4;  // the fake's JPEG: 4 bytes

struct Row {
  const char* what;
  std::function<void()> act;
  int ticks;
  std::size_t jpegs;  // conversions so far
  int skipped;
  bool held;  // the display kept awake
  unsigned reasons;
  std::size_t notices;
};

// Run with the grab in the canvas, and looked at where the grab holds it (Peek).
class CaptureKeeperTest : public ::testing::TestWithParam<bool> {
 protected:
  CaptureKeeperTest() {
    p.screen_grab.peeks = GetParam();
    p.runtime.screen = {kSide, kSide};
    p.screen_grab.pixel = [this](int x, int y) {
      const bool moved = y * kSide + x < changed;
      return MakeRgb(100 + (moved ? delta : 0), 100, 100);
    };
    keep.disk.usage = {5000 * kMb, 10000 * kMb};  // a floor of 100 MB
  }
  std::size_t BmpWrites() const {
    std::size_t n = 0;
    for (const std::string& entry : p.files.log) n += entry.rfind("write", 0) == 0;
    return n;
  }

  fakes::FakePlatform p;
  fakes::FakeCaptureKeeping keep;
  FormMainSlide form{p.services, "/c", &keep.services};
  int changed = 0;  // how many pixels, from the top left, are moved by `delta` in red
  int delta = 0;
};

TEST_P(CaptureKeeperTest, RulesOfAKeptRun) {
  struct Lines : FailureSink {
    void Write(const char* line) noexcept override { lines += line; }
    std::string lines;
  } log;
  const ScopedFailureSink logged(log);
  keep.icon.no_area = true;  // until the second row: everything works from the window
  form.RunLoad();
  ASSERT_TRUE(form.hscrCapture.SetValue(1));
  form.AppPath = NativePath("/caps/");
  CaptureKeeper& keeper = *form.Keeper();
  std::string made_video;
  const Row rows[] = {
      {"by default every tick writes", [&] { form.btnStart_Click(); }, 2, 2, 0, true, 0, 0},
      {"the menu turns skipping on: the next grab has nothing to compare with",
       [&] {
         keep.icon.no_area = false;
         keep.icon.on_command(TrayCommand::kSkipUnchanged);
       },
       1, 3, 0, true, 0, 0},
      {"a still screen is skipped", [] {}, 3, 3, 3, true, 0, 0},
      {"every channel moved by the tolerance is still the same screen",
       [&] { changed = 10000, delta = 8; }, 1, 3, 4, true, 0, 0},
      {"9 pixels differing of 10,000 are unchanged", [&] { changed = 9, delta = 9; }, 1, 3, 5, true,
       0, 0},
      {"10 are a change", [&] { changed = 10; }, 1, 4, 5, true, 0, 0},
      {"locked: nothing, the display may sleep", [&] { keep.presence.away = true, changed = 20; },
       3, 4, 5, false, kPausedSessionAway, 0},
      {"unlocked: the due capture at the first tick", [&] { keep.presence.away = false; }, 1, 5, 5,
       true, 0, 0},
      {"a disk below its floor: paused, told once",
       [&] { keep.disk.usage.free_bytes = 100 * kMb + kOneCapture - 1, changed = 30; }, 3, 5, 5,
       false, kPausedDiskFull, 1},
      {"room again: told, the capture made",
       [&] { keep.disk.usage.free_bytes = 100 * kMb + kOneCapture; }, 1, 6, 5, true, 0, 2},
      {"a disk that cannot be asked lets captures go on",
       [&] { keep.disk.fails = true, changed = 40; }, 1, 7, 5, true, 0, 2},
      {"the user's pause", [&] { keep.icon.on_command(TrayCommand::kPauseResume), changed = 50; },
       2, 7, 5, false, kPausedByUser, 2},
      {"and resume", [&] { keep.icon.on_command(TrayCommand::kPauseResume); }, 1, 8, 5, true, 0, 2},
      {"the video, once its maker is there",
       [&] {
         keeper.video = {[] { return true; },
                         [&](const std::string& folder) { made_video = folder; }};
         keep.icon.on_command(TrayCommand::kMakeVideo);
       },
       1, 8, 6, true, 0, 2},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    row.act();
    for (int i = 0; i < row.ticks; ++i) form.Timer1_Timer();
    EXPECT_EQ(p.jpeg.calls.size(), row.jpegs);
    EXPECT_EQ(BmpWrites(), row.jpegs);  // a skipped or paused tick writes no bitmap
    EXPECT_EQ(keeper.Skipped(), row.skipped);
    EXPECT_EQ(keep.inhibit.held, row.held);
    EXPECT_EQ(keeper.Reasons(), row.reasons);
    EXPECT_LE(form.CaptureTicks, 1);  // a pause holds a due capture due, the count at the interval
    EXPECT_EQ(p.notifications.shown.size(), row.notices);
    EXPECT_EQ(keep.icon.shown.paused, row.reasons != 0);
  }
  EXPECT_TRUE(keep.icon.visible);
  const std::size_t no_area = log.lines.find("no notification area");
  EXPECT_TRUE(no_area != std::string::npos &&
              log.lines.find("no notification area", no_area + 1) == std::string::npos);
  EXPECT_EQ(
      p.notifications.shown[0].second.rfind("the disk holding " + NativePath("/caps/") +
                                                " is nearly full: 100 MB left; captures paused",
                                            0),
      0u);
  EXPECT_EQ(p.notifications.shown[1].first, "Trelvin Show saves captures again");
  EXPECT_EQ(made_video, NativePath("/caps/"));
  const TrayIconState& icon = keep.icon.shown;
  EXPECT_EQ(icon.tooltip,
            "Trelvin Show: capturing, next at 13:05:10\n8 taken, 6 skipped as unchanged\n" +
                NativePath("/caps/"));
  ASSERT_EQ(icon.menu.size(), 5u);
  EXPECT_TRUE(icon.menu[3].checked);
  EXPECT_TRUE(icon.menu[4].enabled);
  keep.icon.on_command(TrayCommand::kOpenFolder);
  EXPECT_EQ(p.shell.calls.back().target, NativePath("/caps/"));

  // The icon's Stop is the button's: the run ends, the display may sleep, the icon goes; the
  // switch is kept with the other settings.
  keep.icon.on_command(TrayCommand::kStop);
  EXPECT_FALSE(form.Timer1.Enabled());
  EXPECT_EQ(form.btnStart.Caption(), "&Start");
  EXPECT_FALSE(keep.inhibit.held);
  EXPECT_FALSE(keep.icon.visible);
  form.Unload();
  EXPECT_EQ(p.settings.values.at("SkipUnchanged"), "1");
}

INSTANTIATE_TEST_SUITE_P(InCanvasOrLookedAt, CaptureKeeperTest, ::testing::Bool());

}  // namespace
}  // namespace trelvin
