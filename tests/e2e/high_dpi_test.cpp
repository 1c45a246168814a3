// A desktop that asks for 2x scaling (Xft.dpi 192): captures still hold every pixel of the screen,
// and a picture at its natural size covers one screen pixel per picture pixel.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <utility>

#include "e2e/FakeEmulator.h"
#include "e2e/Harness.h"
#include "e2e/SlideShowHelpers.h"
#include "support/JpegDecode.h"

namespace trelvin::e2e {
namespace {

namespace fs = std::filesystem;

class HighDpiTest : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    if (!display_.ok()) GTEST_SKIP() << "Xvfb with openbox could not be started";
    ASSERT_TRUE(display_.SetDpi(GetParam()));
  }
  // A point of the settings window's fixed layout, in screen pixels of the scaled window.
  int Scaled(int layout_pixels) const { return layout_pixels * GetParam() / 96; }
  std::string Shot(const std::string& name) const {
    return std::string(TRELVIN_BUILD_DIR) + "/e2e-dpi" + std::to_string(GetParam()) + "-" + name;
  }

  VirtualDisplay display_{1024, 768};
  TestHome home_;
};

TEST_P(HighDpiTest, NaturalSizeIsOnePicturePixelPerScreenPixelAndStretchCoversTheScreen) {
  const fs::path pictures = home_.Root() / "pictures";
  fs::create_directories(pictures);
  ASSERT_TRUE(MakePicture(pictures / "pink.jpg", 320, 200, kPink));
  home_.WriteConfig(ShowSettings(pictures, 600, false));
  Program program(display_, home_, {"/s"});
  ASSERT_TRUE(WaitForColours(display_, kCentredPink, std::chrono::seconds(20)))
      << "the picture is not centred at its natural size";
  display_.SavePng(Shot("centred.png"));
  display_.Xdotool("key --clearmodifiers s");
  ASSERT_TRUE(WaitForColours(display_, kStretchedPink))
      << "the stretched picture does not cover the screen";
  display_.SavePng(Shot("stretched.png"));
  display_.Xdotool("key --clearmodifiers x");
  EXPECT_EQ(program.Wait(), 0);
}

TEST_P(HighDpiTest, CaptureHoldsEveryPixelOfTheScreen) {
  e2e::Run(display_.Env() + "xsetroot -solid '#336699'");
  const fs::path captures = home_.Root() / "caps";
  fs::create_directories(captures);
  home_.WriteConfig("[Settings]\nPath=" + captures.string() +
                    "/\nCaptureInterval=1\nCompressionLevel=90\nMusic=0\n");
  FakeEmulator emulator(display_, "Connectix Virtual Game Station", {700, 500, 200, 160});
  ASSERT_TRUE(emulator.ok()) << emulator.Problem();
  Program program(display_, home_, {"/c"});
  std::string id;
  ASSERT_TRUE(display_.WaitForWindow(MainWindowTitlePattern(), &id));
  // The settings window scales with the desktop but keeps its layout.
  const std::string geometry = display_.Xdotool("getwindowgeometry " + id).output;
  EXPECT_NE(
      geometry.find("Geometry: " + std::to_string(Scaled(278)) + "x" + std::to_string(Scaled(173))),
      std::string::npos)
      << geometry;
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  // Captions end inside their places: no text (dark) pixel in the last column of "Compression:"
  // or "Random" (a Qt font wider than the layout's cut the first). x, y: the client's corner.
  int x = 0, y = 0;
  const std::string where = e2e::Run(display_.Env() + "xwininfo -id " + id).output;
  std::sscanf(where.c_str() + where.find("Absolute upper-left X:"),
              "Absolute upper-left X: %d\n Absolute upper-left Y: %d", &x, &y);
  display_.SavePng(Shot("settings.png"));
  const Screenshot shot = display_.Capture();
  for (const auto& [top, right] : {std::pair{45, 66}, std::pair{126, 222}}) {
    for (int row = Scaled(top); row < Scaled(top + 15); ++row) {
      const Rgb8 c = shot.At(x + Scaled(right) - 1, y + row);
      EXPECT_GT(c.r + c.g + c.b, 3 * 200)
          << "a caption reaches its edge at " << right << ", " << row;
    }
  }
  display_.ClickAt(id, Scaled(155), Scaled(158));

  ASSERT_TRUE(
      WaitFor([&] { return CaptureFiles(captures).size() >= 2; }, std::chrono::seconds(20)));
  const fs::path latest = CaptureFiles(captures).back();
  const auto jpeg = test_support::DecodeJpegFile(latest.string());
  ASSERT_TRUE(jpeg.ok) << latest;
  EXPECT_EQ(jpeg.width, 1024);
  EXPECT_EQ(jpeg.height, 768);
  // The stand-in's four quadrants, where the window manager put it, in the bottom right.
  const Placement at = emulator.Where(display_);
  ExpectQuadrants([&](int x, int y) { return jpeg.At(x, y); }, at, 24);
  EXPECT_NEAR(int(jpeg.At(5, 5) & 0xFF), 0x99, 6);
  display_.CloseWindow(id);
  EXPECT_EQ(program.Wait(), 0);
}

INSTANTIATE_TEST_SUITE_P(Dpi, HighDpiTest, ::testing::Values(96, 192),
                         [](const auto& info) { return std::to_string(info.param); });

}  // namespace
}  // namespace trelvin::e2e
