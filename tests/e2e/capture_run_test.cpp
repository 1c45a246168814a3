// Timed capture on the real program: "&Start" brings the emulator up with one Enter, JPEG files of
// the screen arrive every second, "&Stop" ends them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <thread>

#include "e2e/FakeEmulator.h"
#include "e2e/Harness.h"
#include "support/JpegDecode.h"

namespace trelvin::e2e {
namespace {

namespace fs = std::filesystem;

const std::string kTitle = MainWindowTitlePattern();
constexpr const char* kEmulator = "Connectix Virtual Game Station";

struct Listing {
  std::vector<std::string> jpegs;  // sorted
  std::vector<std::string> others;
};

Listing List(const fs::path& dir) {
  Listing listing;
  for (const auto& entry : fs::directory_iterator(dir)) {
    const std::string name = entry.path().filename();
    (std::regex_match(name, std::regex(R"(\d{14}(-\d+)?\.jpg)")) ? listing.jpegs : listing.others)
        .push_back(name);
  }
  std::sort(listing.jpegs.begin(), listing.jpegs.end());
  return listing;
}

class CaptureRunTest : public CaptureDisplayTest {
 protected:
  // Clicks "&Start"/"&Stop" (the same button) on the settings window.
  void ClickStartButton(const std::string& id) { display_.ClickAt(id, 155, 158); }
};

TEST_F(CaptureRunTest, StartCapturesTheScreenEverySecondUntilStop) {
  FakeEmulator emulator(display_, kEmulator, {200, 150, 160, 120});
  ASSERT_TRUE(emulator.ok()) << emulator.Problem();
  Program program(display_, home_, {"/c"});
  std::string id;
  ASSERT_TRUE(display_.WaitForWindow(kTitle, &id));
  ClickStartButton(id);

  ASSERT_TRUE(WaitFor([&] { return List(dir_).jpegs.size() >= 3; }, std::chrono::seconds(15)))
      << List(dir_).jpegs.size();
  // One Enter, pressed and released, reached the emulator; the settings window went away.
  EXPECT_EQ(emulator.Count(), "1 1");
  EXPECT_TRUE(display_.FindWindow(kTitle).empty());

  // The captures are the screen: compare the latest with a screenshot of the unchanged screen.
  const Screenshot shot = display_.Capture();
  ASSERT_EQ(shot.width, kWidth);
  const Placement at = emulator.Where(display_);
  const Listing running = List(dir_);
  const auto jpeg = test_support::DecodeJpegFile((dir_ / running.jpegs.back()).string());
  ASSERT_TRUE(jpeg.ok) << running.jpegs.back();
  EXPECT_EQ(jpeg.width, kWidth);
  EXPECT_EQ(jpeg.height, kHeight);
  double error = 0;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const Rgb8 s = shot.At(x, y);
      const std::uint32_t j = jpeg.At(x, y);
      error += std::abs(s.r - int(j >> 16)) + std::abs(s.g - int(j >> 8 & 0xFF)) +
               std::abs(s.b - int(j & 0xFF));
    }
  }
  EXPECT_LT(error / (3.0 * kWidth * kHeight), 3.0);
  // The stand-in's quadrants, where the window manager put it, and the root's colour outside.
  ExpectQuadrants([&](int x, int y) { return jpeg.At(x, y); }, at, 24);
  EXPECT_NEAR(int(jpeg.At(5, 5) >> 16), 0x33, 6);
  EXPECT_NEAR(int(jpeg.At(5, 5) & 0xFF), 0x99, 6);
  // No bitmap and no temporary file stays behind.
  std::vector<fs::path> others;
  for (const std::string& name : running.others) others.push_back(dir_ / name);
  const std::vector<fs::path> left = LeftBehind(others);
  EXPECT_TRUE(left.empty()) << left.front();

  ClickStartButton(id);
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  display_.SavePng(std::string(TRELVIN_BUILD_DIR) + "/e2e-capture-stop.png");
  const std::size_t after_stop = List(dir_).jpegs.size();
  std::this_thread::sleep_for(std::chrono::milliseconds(2500));
  const Listing stopped = List(dir_);
  EXPECT_EQ(stopped.jpegs.size(), after_stop);
  EXPECT_TRUE(stopped.others.empty());
  EXPECT_EQ(emulator.Count(), "1 1");
}

// The user restores the window while capturing: the window runtime tells the form, so the next
// "&Start" minimises it again and the captures show the desktop, not the settings window.
TEST_F(CaptureRunTest, SecondStartAfterARestoreMinimisesTheWindowAgain) {
  FakeEmulator emulator(display_, kEmulator, {400, 300, 100, 80});
  ASSERT_TRUE(emulator.ok()) << emulator.Problem();
  Program program(display_, home_, {"/c"});
  std::string id;
  ASSERT_TRUE(display_.WaitForWindow(kTitle, &id));
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  int x = 0, y = 0, width = 0, height = 0;
  const std::string where = display_.Xdotool("getwindowgeometry --shell " + id).output;
  ASSERT_EQ(std::sscanf(where.substr(where.find("X=")).c_str(), "X=%d\nY=%d\nWIDTH=%d\nHEIGHT=%d",
                        &x, &y, &width, &height),
            4)
      << where;
  ClickStartButton(id);
  ASSERT_TRUE(WaitFor([&] { return display_.Iconic(id); }));
  // Restored from the task bar while capturing, then "&Stop" and "&Start" again.
  display_.Xdotool("windowactivate --sync " + id);
  ASSERT_TRUE(WaitFor([&] { return !display_.Iconic(id); }));
  ClickStartButton(id);
  ASSERT_TRUE(WaitFor([&] { return !display_.FindWindow(kTitle).empty(); }));
  const std::size_t stopped = List(dir_).jpegs.size();
  ClickStartButton(id);
  ASSERT_TRUE(WaitFor([&] { return display_.Iconic(id); }, std::chrono::seconds(10)))
      << "the second start left the settings window on screen";
  // A capture taken after the window went away shows the root's colour where it was.
  const std::size_t iconic = List(dir_).jpegs.size();
  ASSERT_TRUE(
      WaitFor([&] { return List(dir_).jpegs.size() >= iconic + 2; }, std::chrono::seconds(15)));
  ASSERT_GT(iconic + 2, stopped);
  const auto jpeg = test_support::DecodeJpegFile((dir_ / List(dir_).jpegs.back()).string());
  ASSERT_TRUE(jpeg.ok);
  const std::uint32_t middle = jpeg.At(x + width / 2, y + height / 2);
  EXPECT_NEAR(int(middle >> 16), 0x33, 6);
  EXPECT_NEAR(int(middle >> 8 & 0xFF), 0x66, 6);
  EXPECT_NEAR(int(middle & 0xFF), 0x99, 6);
}

// Without an emulator window, "*vgs.exe" from the program's directory is started there.
TEST_F(CaptureRunTest, WithoutEmulatorWindowItsProgramIsStartedFromProgramDirectory) {
  const fs::path program_dir = home_.Root() / "program";
  InstallProgramCopy(program_dir);
  const fs::path marker = home_.Root() / "started";
  {
    std::ofstream script(program_dir / "TestVGS.EXE");
    script << "#!/bin/sh\npwd > " << marker.string() << "\n";
  }
  fs::permissions(program_dir / "TestVGS.EXE", fs::perms::owner_all);

  Program program(display_, home_, {"/c"}, {}, (program_dir / "trelvinshow").string());
  std::string id;
  ASSERT_TRUE(display_.WaitForWindow(kTitle, &id));
  ClickStartButton(id);
  ASSERT_TRUE(WaitFor([&] { return fs::exists(marker); }));
  std::ifstream in(marker);
  std::string cwd;
  std::getline(in, cwd);
  EXPECT_EQ(fs::canonical(cwd), fs::canonical(program_dir));
  // Capturing runs all the same.
  EXPECT_TRUE(WaitFor([&] { return !List(dir_).jpegs.empty(); }));
}

}  // namespace
}  // namespace trelvin::e2e
