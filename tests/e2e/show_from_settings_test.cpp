// The show opened from the settings window returns to it, twice in one run.
#include <gtest/gtest.h>

#include <filesystem>

#include "e2e/Harness.h"
#include "e2e/SlideShowHelpers.h"

namespace trelvin::e2e {
namespace {

namespace fs = std::filesystem;

TEST(ShowFromSettingsTest, ShowButtonOpensTheShowAndAKeyReturnsToTheSettingsWindow) {
  VirtualDisplay display(1024, 768);
  if (!display.ok()) GTEST_SKIP() << "Xvfb with openbox could not be started";
  TestHome home;
  const fs::path pictures = home.Root() / "pictures";
  fs::create_directories(pictures);
  ASSERT_TRUE(MakePicture(pictures / "a.jpg", 320, 200, {200, 40, 120}));
  home.WriteConfig(ShowSettings(pictures, 600, true));

  Program program(display, home, {});
  std::string id;
  ASSERT_TRUE(display.WaitForWindow(MainWindowTitlePattern(), &id));
  for (int show = 0; show < 2; ++show) {
    display.Xdotool("windowactivate --sync " + id);
    display.Xdotool("mousemove --window " + id + " 238 158 click 1");  // "&S&how"
    // Stretched over the whole screen, corners included.
    ASSERT_TRUE(WaitForColours(display, {{{0, 0}, {200, 40, 120}}, {{1023, 767}, {200, 40, 120}}}))
        << "show " << show;
    display.Xdotool("key Escape");
    ASSERT_TRUE(WaitFor([&] { return !display.FindWindow(MainWindowTitlePattern()).empty(); }));
    ASSERT_TRUE(WaitForColours(display, {{{0, 0}, {0, 0, 0}}})) << "show " << show;
  }
  EXPECT_TRUE(program.Running());
  display.CloseWindow(id);
  EXPECT_EQ(program.Wait(), 0);
  EXPECT_NE(home.ReadConfig().find("StretchImage=1"), std::string::npos);
}

}  // namespace
}  // namespace trelvin::e2e
