// The full-screen show on a desktop of two monitors (Xorg with the dummy driver's RandR outputs).
#include <gtest/gtest.h>

#include <filesystem>

#include "e2e/Harness.h"
#include "e2e/SlideShowHelpers.h"

namespace trelvin::e2e {
namespace {

namespace fs = std::filesystem;

// The picture stays centred on the primary monitor as with one; the second monitor is covered in
// the show's background, again when it comes back at another size; a click there ends the show.
TEST(TwoMonitorsTest, TheOtherMonitorIsCoveredAndFollowedAndAClickThereEndsTheShow) {
  VirtualDisplay display(TwoMonitors{1024, 768, 800, 600});
  if (!display.ok()) GTEST_SKIP() << "Xorg with the dummy video driver could not be started";
  TestHome home;
  const fs::path pictures = home.Root() / "pictures";
  fs::create_directories(pictures);
  ASSERT_TRUE(MakePicture(pictures / "pink.jpg", 320, 200, kPink));
  home.WriteConfig(ShowSettings(pictures, 600, false));
  Program program(display, home, {"/s"});

  auto with = [&](ColourPoints second) {
    second.insert(second.end(), kCentredPink.begin(), kCentredPink.end());
    return second;
  };
  ASSERT_TRUE(WaitForColours(display, with({{{1024, 0}, kBack}, {{1823, 599}, kBack}})))
      << "the second monitor is not covered in the show's background";
  display.SavePng(std::string(TRELVIN_BUILD_DIR) + "/e2e-two-monitors.png");

  // Gone (the screen shrinks to the primary), then back at another size.
  ASSERT_TRUE(display.SetSecondMonitor(0, 0));
  ASSERT_TRUE(WaitFor([&] { return display.Capture().width == 1024; }));
  ASSERT_TRUE(display.SetSecondMonitor(640, 480));
  ASSERT_TRUE(WaitForColours(display, with({{{1024, 0}, kBack}, {{1663, 479}, kBack}})))
      << "the monitor that came back is not covered";
  display.SavePng(std::string(TRELVIN_BUILD_DIR) + "/e2e-two-monitors-followed.png");

  // The primary moves to the second monitor during the show: the show's monitor stays bare and the
  // second stays covered. Its new size, covered, tells that the change has been taken in.
  ASSERT_EQ(e2e::Run(display.Env() + "xrandr --output DUMMY1 --primary").status, 0);
  ASSERT_TRUE(display.SetSecondMonitor(800, 600));
  ASSERT_TRUE(WaitForColours(display, with({{{1024, 0}, kBack}, {{1823, 599}, kBack}})))
      << "a new primary beside the show is not covered, or the show's own monitor is";

  display.Xdotool("mousemove 1300 200 click 1");
  EXPECT_EQ(program.Wait(), 0) << "a click on the second monitor did not end the show";
}

}  // namespace
}  // namespace trelvin::e2e
