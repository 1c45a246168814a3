#pragma once

// The stand-in emulator window (tests/tools/fake_emulator.cpp) on a virtual display.
#include <sys/types.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "e2e/Harness.h"
#include "support/PosixFiles.h"

namespace trelvin::e2e {

struct Placement {
  int x = 0, y = 0, width = 0, height = 0;
};

class FakeEmulator {
 public:
  // Starts the window and waits until it is mapped; ok() tells whether it came up.
  FakeEmulator(const VirtualDisplay& display, const std::string& title, Placement placement);
  ~FakeEmulator();
  FakeEmulator(const FakeEmulator&) = delete;
  FakeEmulator& operator=(const FakeEmulator&) = delete;

  bool ok() const { return ok_; }
  // Why ok() is false.
  const std::string& Problem() const { return problem_; }
  // The Enter presses and releases received so far, as "PRESSES RELEASES".
  std::string Count() const;
  // Where the window's contents are on the screen now (the window manager may have moved it).
  Placement Where(const VirtualDisplay& display) const;

 private:
  test_support::TempDir temp_{"trelvin-emu"};
  const std::filesystem::path dir_ = temp_.path();
  std::string title_;
  std::string problem_;
  pid_t pid_ = -1;
  bool ok_ = false;
};

// A 640 x 480 display with a blue root window (#336699), and a home whose settings capture every
// second, at level 90, into its "caps" folder (`dir_`); skipped without a display.
class CaptureDisplayTest : public ::testing::Test {
 protected:
  static constexpr int kWidth = 640, kHeight = 480;
  void SetUp() override {
    if (!display_.ok()) GTEST_SKIP() << "Xvfb with openbox could not be started";
    e2e::Run(display_.Env() + "xsetroot -solid '#336699'");
    std::filesystem::create_directories(dir_);
    home_.WriteConfig("[Settings]\nPath=" + dir_.string() +
                      "/\nCaptureInterval=1\nCompressionLevel=90\nMusic=0\n");
  }
  VirtualDisplay display_{kWidth, kHeight};
  TestHome home_;
  const std::filesystem::path dir_ = home_.Root() / "caps";
};

// Expects the stand-in's four colours at its quadrants' centres in a shot of the screen whose
// pixel at (x, y) is `pixel(x, y)` (0xRRGGBB), each channel within `tolerance`.
void ExpectQuadrants(const std::function<std::uint32_t(int, int)>& pixel, const Placement& at,
                     int tolerance);

}  // namespace trelvin::e2e
