// Timed capture on the fakes: the start/stop toggle, the tick, one capture, the emulator launcher.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/shell/FormMainSlide.h"
#include "fakes/FakePlatform.h"

namespace trelvin {
namespace {

using fakes::FakePlatform;

constexpr const char* kEmulator = "Connectix Virtual Game Station";

// Reads the pixel (x, y), counted from the top, of a 24-bit bottom-up BMP as 0x00RRGGBB.
std::uint32_t BmpPixel(const std::vector<std::uint8_t>& bmp, int x, int y) {
  const int width = bmp[18] | bmp[19] << 8 | bmp[20] << 16 | bmp[21] << 24;
  const int height = bmp[22] | bmp[23] << 8 | bmp[24] << 16 | bmp[25] << 24;
  const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
  const std::uint8_t* p = bmp.data() + 54 + (height - 1 - y) * stride + x * 3;
  return MakeRgb(p[2], p[1], p[0]);
}

class CaptureTest : public ::testing::Test {
 protected:
  CaptureTest() {
    p.runtime.Events(form).Load();
    form.AppPath = NativePath("/caps/");
    p.screen_grab.log = &log;
    p.jpeg.log = &log;
    p.windows.log = &log;
    p.files.step_log = &log;
  }

  void SetInterval(int seconds) { ASSERT_TRUE(form.hscrCapture.SetValue(seconds)); }
  // Runs `n` ticks of the capture timer through the ideal runtime's events.
  void Tick(int n = 1) {
    for (int i = 0; i < n; ++i) p.runtime.Events(form).Tick(form.Timer1);
  }
  std::size_t Captures() const { return p.jpeg.calls.size(); }
  std::vector<Control*> NineControls() {
    return {&form.btnDir,          &form.btnShow,   &form.hscrCapture,
            &form.hScrCompression, &form.hscrShow,  &form.chkStretch,
            &form.chkMusic,        &form.chkRandom, &form.chkMP3};
  }

  FakePlatform p;
  FormMainSlide form{p.services, "/c"};
  std::vector<std::string> log;
};

TEST_F(CaptureTest, StartMinimisesLocksAndLaunchesStopUnlocks) {
  SetInterval(7);
  ASSERT_TRUE(form.chkMusic.SetValue(CheckBox::kChecked));
  p.windows.titles = {kEmulator};
  form.btnStart_Click();
  EXPECT_TRUE(form.Timer1.Enabled());
  EXPECT_EQ(form.Timer1.Interval(), 1000);
  EXPECT_EQ(form.btnStart.Caption(), "&Stop");
  EXPECT_EQ(form.State(), WindowState::kMinimized);
  EXPECT_EQ(form.CaptureTicks, 7);
  EXPECT_EQ(p.windows.enters, 1);
  for (Control* c : NineControls()) EXPECT_FALSE(c->Enabled()) << c->Name();
  EXPECT_TRUE(form.btnStart.Enabled());
  EXPECT_TRUE(form.lblPath.Enabled());

  Tick(3);
  form.btnStart_Click();
  EXPECT_FALSE(form.Timer1.Enabled());
  EXPECT_EQ(form.btnStart.Caption(), "&Start");
  // A stop leaves the window minimised, the emulator alone and the counter as it was.
  EXPECT_EQ(form.State(), WindowState::kMinimized);
  EXPECT_EQ(p.windows.enters, 1);
  EXPECT_EQ(form.CaptureTicks, 2);
  for (Control* c : NineControls()) EXPECT_TRUE(c->Enabled()) << c->Name();
  // With the music cleared a stop leaves the MP3 box disabled; any other state counts as on.
  for (const int music : {0, 2}) {
    ASSERT_TRUE(form.chkMusic.SetValue(music));
    form.btnStart_Click();
    form.btnStart_Click();
    for (Control* c : NineControls())
      EXPECT_EQ(c->Enabled(), c != &form.chkMP3 || music != 0) << c->Name() << music;
  }
}

// A grab behind a desktop permission (a screen-cast session) is open exactly while capturing:
// asked for at the start before the first capture, closed at the stop or the unload.
TEST_F(CaptureTest, GrabSessionIsOpenExactlyWhileCapturing) {
  SetInterval(1);
  p.screen_grab.needs_session = true;
  form.btnStart_Click();
  Tick(2);
  form.btnStart_Click();
  Tick(2);  // the timer is off: nothing more
  EXPECT_EQ(p.screen_grab.begun, 1);
  EXPECT_EQ(p.screen_grab.ended, 1);
  EXPECT_FALSE(p.screen_grab.in_session);
  EXPECT_EQ(p.screen_grab.opened, 2);
  std::vector<std::string> grab_steps;
  for (const std::string& entry : log) {
    if (entry == "begin" || entry == "end" || entry == "open") grab_steps.push_back(entry);
  }
  EXPECT_EQ(grab_steps, (std::vector<std::string>{"begin", "open", "open", "end"}));

  // Each start asks again, also after a stop.
  form.btnStart_Click();
  Tick(1);
  EXPECT_EQ(p.screen_grab.begun, 2);
  EXPECT_EQ(p.screen_grab.opened, 3);
  // An unload while capturing closes the session too.
  form.Unload();
  EXPECT_FALSE(p.screen_grab.in_session);
  EXPECT_EQ(p.screen_grab.ended, 2);
  EXPECT_FALSE(form.Timer1.Enabled());
}

// A failed grab writes nothing and is told once the grab says why (till then the desktop may be
// asking the user); each kind is told once a run, the recovery once; a new run tells again.
TEST_F(CaptureTest, EachFailureKindIsToldOnceARunAndTheRecoveryOnce) {
  SetInterval(1);
  form.btnStart_Click();
  p.screen_grab.open_fails = true;
  Tick(2);
  EXPECT_TRUE(p.notifications.shown.empty());
  p.screen_grab.problem = "Allow sharing the screen.";
  Tick(3);
  EXPECT_TRUE(p.files.files.empty());
  EXPECT_TRUE(p.jpeg.calls.empty());
  p.screen_grab.open_fails = false;
  p.screen_grab.problem.clear();
  p.files.unwritable_dirs.insert(NativePath("/caps/"));
  Tick(3);
  p.files.unwritable_dirs.clear();
  p.jpeg.writes_nothing = true;
  Tick(2);
  p.jpeg.writes_nothing = false;
  Tick(3);
  p.files.unwritable_dirs.insert(NativePath("/caps/"));  // told already in this run
  Tick(2);
  std::vector<std::string> summaries;
  for (const auto& [summary, body] : p.notifications.shown) summaries.push_back(summary);
  EXPECT_EQ(summaries,
            (std::vector<std::string>{
                "Trelvin Show cannot copy the screen", "Trelvin Show cannot save captures",
                "Trelvin Show cannot convert captures", "Trelvin Show saves captures again"}));
  EXPECT_NE(p.notifications.shown[0].second.find("Allow sharing the screen."), std::string::npos);
  EXPECT_NE(p.notifications.shown[1].second.find(NativePath("/caps/")), std::string::npos);
  EXPECT_NE(p.notifications.shown[3].second.find(p.known_paths.failure_log), std::string::npos);

  form.btnStart_Click();
  form.btnStart_Click();
  Tick(2);
  EXPECT_EQ(p.notifications.shown.size(), 5u);

  // A grab that knows at the start that it cannot work is told at once, before any tick, once.
  form.btnStart_Click();
  p.screen_grab.problem = "Install the portal.";
  form.btnStart_Click();
  ASSERT_EQ(p.notifications.shown.size(), 6u);
  EXPECT_NE(p.notifications.shown[5].second.find("Install the portal."), std::string::npos);
  p.screen_grab.open_fails = true;
  Tick(3);
  EXPECT_EQ(p.notifications.shown.size(), 6u);
}

// A start captures at its first tick, then every `interval` ticks; the interval is read at every
// tick.
TEST_F(CaptureTest, AStartCapturesAtItsFirstTickThenEveryIntervalReadAtEachTick) {
  const auto run = [&](int ticks, std::size_t captures) {
    Tick(ticks);
    EXPECT_EQ(Captures(), captures) << "after " << ticks << " more ticks";
  };
  SetInterval(600);
  form.btnStart_Click();
  run(1, 1u);
  run(599, 1u);
  run(1, 2u);  // tick 601 after the start
  EXPECT_EQ(form.CaptureTicks, 0);
  run(600, 3u);
  SetInterval(1);
  run(5, 8u);  // every tick
  SetInterval(10);
  form.btnStart_Click();
  form.btnStart_Click();
  run(4, 9u);  // one capture, then three ticks toward the next
  form.btnStart_Click();
  form.btnStart_Click();
  run(1, 10u);  // a start again captures on its first tick
  run(2, 10u);
  SetInterval(3);  // the count is already at the new interval
  run(1, 11u);
}

TEST_F(CaptureTest, BasePathIsAppPathAndPaddedLocalTime) {
  SetInterval(1);
  form.btnStart_Click();
  p.clock.now = {2026, 12, 7, 13, 5, 9};
  Tick();
  p.clock.now = {2027, 1, 2, 0, 4, 0};
  ASSERT_TRUE(form.hScrCompression.SetValue(1));
  Tick();
  ASSERT_EQ(Captures(), 2u);
  EXPECT_EQ(p.jpeg.calls[0].bmp, NativePath("/caps/20261207130509.bmp"));
  EXPECT_EQ(p.jpeg.calls[0].jpeg, NativePath("/caps/20261207130509.jpg"));
  EXPECT_EQ(p.jpeg.calls[1].jpeg, NativePath("/caps/20270102000400.jpg"));
  EXPECT_EQ(p.jpeg.calls[1].level, 1);
  ASSERT_TRUE(form.hScrCompression.SetValue(100));
  form.AppPath = NativePath("/other/");  // read afresh at every capture
  Tick();
  EXPECT_EQ(p.jpeg.calls[2].level, 100);
  EXPECT_EQ(p.jpeg.calls[2].jpeg, NativePath("/other/20270102000400.jpg"));
}

// A capture in a second that already has one (a clock set back, the repeated hour in autumn)
// takes the next free name: neither an earlier JPEG nor a BMP left by a failed conversion is lost.
TEST_F(CaptureTest, ASecondCaptureInTheSameSecondTakesTheNextFreeName) {
  SetInterval(1);
  form.btnStart_Click();
  p.files.Add(NativePath("/caps/20261207130509-1.bmp"), {7});  // a failed earlier conversion
  p.files.Add(NativePath("/caps/20261207130509-2.jpg"), {});   // even an empty JPEG counts
  Tick(2);
  p.screen_grab.pixel = [](int, int) { return MakeRgb(1, 2, 3); };
  p.jpeg.writes_nothing = true;  // keeps this capture's bitmap to look at
  Tick();
  ASSERT_EQ(Captures(), 3u);
  EXPECT_EQ(p.jpeg.calls[0].jpeg, NativePath("/caps/20261207130509.jpg"));
  EXPECT_EQ(p.jpeg.calls[1].jpeg, NativePath("/caps/20261207130509-3.jpg"));
  EXPECT_EQ(p.jpeg.calls[2].bmp, NativePath("/caps/20261207130509-4.bmp"));
  EXPECT_EQ(p.files.files.at(NativePath("/caps/20261207130509-1.bmp")),
            std::vector<std::uint8_t>{7});
  EXPECT_TRUE(p.files.Has(NativePath("/caps/20261207130509.jpg")));
  EXPECT_EQ(BmpPixel(p.files.files.at(NativePath("/caps/20261207130509-4.bmp")), 5, 5),
            MakeRgb(1, 2, 3));
}

TEST_F(CaptureTest, OneCaptureRunsItsStepsInOrder) {
  form.CaptureScreen(form.Picture1, NativePath("/caps/x"));
  const std::vector<std::string> expected{"open",
                                          "copy",
                                          "release",
                                          NativePath("write /caps/x.bmp"),
                                          "convert",
                                          NativePath("length /caps/x.jpg"),
                                          NativePath("delete /caps/x.bmp")};
  EXPECT_EQ(log, expected);
  EXPECT_EQ(p.screen_grab.opened, 1);
  EXPECT_EQ(p.screen_grab.released, 1);
  EXPECT_TRUE(p.files.Has(NativePath("/caps/x.jpg")));
  EXPECT_FALSE(p.files.Has(NativePath("/caps/x.bmp")));
  // The canvas is the whole screen, from its top-left corner.
  EXPECT_EQ(form.Picture1.Geometry(), (Rect{0, 0, 1024, 768}));
  EXPECT_TRUE(form.Picture1.AutoRedraw());
  const Bitmap& image = form.Picture1.Image();
  ASSERT_EQ(image.width, 1024);
  ASSERT_EQ(image.height, 768);
  EXPECT_EQ(image.Row(767)[1023], p.screen_grab.pixel(1023, 767));
}

TEST_F(CaptureTest, BitmapHoldsTheScreenAtItsSize) {
  p.runtime.screen = {33, 17};
  p.files.undeletable.insert(NativePath("/caps/x.bmp"));
  form.CaptureScreen(form.Picture1, NativePath("/caps/x"));
  const auto& bmp = p.files.files.at(NativePath("/caps/x.bmp"));
  EXPECT_EQ(bmp[18], 33);
  EXPECT_EQ(bmp[22], 17);
  for (auto [x, y] : std::vector<std::pair<int, int>>{{0, 0}, {32, 0}, {0, 16}, {32, 16}, {7, 9}}) {
    EXPECT_EQ(BmpPixel(bmp, x, y), p.screen_grab.pixel(x, y)) << x << "," << y;
  }
}

TEST_F(CaptureTest, FailedGrabWritesNothingAndClearsThePreviousPicture) {
  form.CaptureScreen(form.Picture1, NativePath("/caps/a"));
  p.screen_grab.open_fails = true;
  form.CaptureScreen(form.Picture1, NativePath("/caps/b"));
  EXPECT_EQ(form.Picture1.Image().Row(10)[10], form.Picture1.BackColor());
  p.screen_grab.open_fails = false;
  p.screen_grab.copy_fails = true;
  form.CaptureScreen(form.Picture1, NativePath("/caps/c"));
  EXPECT_TRUE(p.files.Has(NativePath("/caps/a.jpg")));
  for (const char* name : {"/caps/b.bmp", "/caps/b.jpg", "/caps/c.bmp", "/caps/c.jpg"}) {
    EXPECT_FALSE(p.files.Has(NativePath(name))) << name;
  }
  EXPECT_EQ(p.jpeg.calls.size(), 1u);
  // Every session opened is released once.
  EXPECT_EQ(p.screen_grab.opened, 2);
  EXPECT_EQ(p.screen_grab.released, 2);
}

TEST_F(CaptureTest, UnwritableBitmapLeavesNothingAndAFailedConversionKeepsTheBitmap) {
  p.files.unwritable_dirs.insert(NativePath("/caps/"));
  form.CaptureScreen(form.Picture1, NativePath("/caps/x"));
  EXPECT_TRUE(p.files.files.empty());
  EXPECT_EQ(p.jpeg.calls.size(), 0u);  // it would have nothing to read
  for (const std::string& entry : log) EXPECT_NE(entry.rfind("delete", 0), 0u) << entry;
  EXPECT_EQ(p.screen_grab.released, 1);
  // A failed or empty conversion keeps the bitmap.
  p.files.unwritable_dirs.clear();
  p.jpeg.writes_nothing = true;
  form.CaptureScreen(form.Picture1, NativePath("/caps/x"));
  EXPECT_TRUE(p.files.Has(NativePath("/caps/x.bmp")));
  EXPECT_FALSE(p.files.Has(NativePath("/caps/x.jpg")));
  p.jpeg.writes_nothing = false;
  p.jpeg.writes_empty = true;
  form.CaptureScreen(form.Picture1, NativePath("/caps/y"));
  EXPECT_TRUE(p.files.Has(NativePath("/caps/y.bmp")));
  EXPECT_EQ(p.files.files.at(NativePath("/caps/y.jpg")).size(), 0u);
}

TEST_F(CaptureTest, UndeletableBitmapStaysAndCapturingGoesOn) {
  SetInterval(1);
  p.files.undeletable.insert(NativePath("/caps/20261207130509.bmp"));
  form.btnStart_Click();
  Tick();
  EXPECT_TRUE(p.files.Has(NativePath("/caps/20261207130509.bmp")));
  EXPECT_TRUE(p.files.Has(NativePath("/caps/20261207130509.jpg")));
  p.clock.now.second = 10;
  Tick();
  EXPECT_FALSE(p.files.Has(NativePath("/caps/20261207130510.bmp")));
  EXPECT_TRUE(p.files.Has(NativePath("/caps/20261207130510.jpg")));
}

class LaunchEmulatorTest : public CaptureTest {};

// Which window a title finds: tests/conformance/window_activation_test.cpp, on the fakes too.
TEST_F(LaunchEmulatorTest, ARunningEmulatorIsActivatedByItsTitleAndGetsOneEnter) {
  p.windows.titles = {"Other", std::string(kEmulator) + " - Ridge Racer"};
  p.files.Add(NativePath("/opt/trelvin/VGS.EXE"));
  form.LaunchEmulator();
  EXPECT_EQ(log, (std::vector<std::string>{std::string("activate ") + kEmulator, "enter"}));
  EXPECT_EQ(p.windows.active, std::string(kEmulator) + " - Ridge Racer");
  EXPECT_TRUE(p.shell.calls.empty());
}

TEST_F(LaunchEmulatorTest, WithoutWindowTheFirstMatchInProgramDirectoryStarts) {
  p.files.Add(NativePath("/elsewhere/vgs.exe"));
  p.files.Add(NativePath("/opt/trelvin/readme.txt"));
  p.files.Add(NativePath("/opt/trelvin/cvgs.exe"));
  p.files.hidden_or_dirs.insert(NativePath("/opt/trelvin/cvgs.exe"));
  p.files.Add(NativePath("/opt/trelvin/VGS.EXE"));
  p.files.Add(NativePath("/opt/trelvin/oldvgs.exe"));
  form.LaunchEmulator();
  ASSERT_EQ(p.shell.calls.size(), 1u);
  EXPECT_EQ(p.shell.calls[0].target, "VGS.EXE");
  EXPECT_EQ(p.shell.calls[0].working_directory, NativePath("/opt/trelvin"));
  EXPECT_EQ(p.shell.calls[0].show_command, kSwShowNormal);
  EXPECT_TRUE(p.shell.calls[0].program);
  EXPECT_EQ(p.windows.enters, 0);
}

TEST_F(LaunchEmulatorTest, FailedActivationStartsInsteadAndNothingMatchingStartsNothing) {
  p.windows.titles = {kEmulator};
  p.windows.activation_fails = true;
  p.files.Add(NativePath("/opt/trelvin/vgs.exe"));
  form.LaunchEmulator();
  EXPECT_EQ(p.shell.calls.size(), 1u);
  EXPECT_EQ(p.windows.enters, 0);

  FakePlatform bare;
  bare.files.Add(NativePath("/elsewhere/vgs.exe"));
  bare.files.Add(NativePath("/opt/trelvin/vgs.exe.txt"));
  FormMainSlide other(bare.services, "/c");
  other.hscrCapture.SetValue(1);
  other.btnStart_Click();  // capturing runs all the same
  EXPECT_TRUE(bare.shell.calls.empty());
  EXPECT_TRUE(other.Timer1.Enabled());
}

}  // namespace
}  // namespace trelvin
