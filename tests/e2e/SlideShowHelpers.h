#pragma once

// Helpers for the slide-show tests on the real program: pictures, settings, colours on screen.
#include <sys/types.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "e2e/Harness.h"

namespace trelvin::e2e {

// The show's background and the pink of the tests' pictures.
constexpr Rgb8 kBack{0, 0, 64};
constexpr Rgb8 kPink{200, 40, 120};

// Writes a picture of one colour (ImageMagick); false when it could not be made.
bool MakePicture(const std::filesystem::path& path, int width, int height, Rgb8 colour);

// The settings file for a show over `dir` at the given interval (tenths), without music.
std::string ShowSettings(const std::filesystem::path& dir, int interval, bool stretch);

// Whether two colours differ by at most `tolerance` in each channel (JPEG is lossy).
bool Near(Rgb8 a, Rgb8 b, int tolerance = 6);

// Points of the screen and the colour each should show.
using ColourPoints = std::vector<std::pair<std::pair<int, int>, Rgb8>>;

// Waits until the screen shows `colour` at every one of the points.
bool WaitForColours(const VirtualDisplay& display, const ColourPoints& points,
                    std::chrono::milliseconds timeout = std::chrono::seconds(30));

// The 320 x 200 pink picture on a 1024 x 768 screen: centred at its natural size, (352, 284) to
// (671, 483) exactly, on the background; stretched over the whole screen.
extern const ColourPoints kCentredPink, kStretchedPink;

// A 1024 x 768 display, and a home whose pictures folder holds one 320 x 200 pink picture, with
// `settings_` for a show over it in the settings file; skipped when either cannot be made.
class PinkPictureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!display_.ok()) GTEST_SKIP() << "Xvfb with openbox could not be started";
    std::filesystem::create_directories(pictures_);
    if (!MakePicture(pictures_ / "pink.jpg", 320, 200, kPink)) {
      GTEST_SKIP() << "ImageMagick could not make the test picture";
    }
    home_.WriteConfig(settings_);
  }

  VirtualDisplay display_{1024, 768};
  TestHome home_;
  const std::filesystem::path pictures_ = home_.Root() / "pictures";
  const std::string settings_ = ShowSettings(pictures_, 600, false);
};

// A CUPS scheduler of the test's own, on a private socket, with one raw queue "trelvin" as the
// default destination; its backend keeps each job's document as a file in OutputDir().
class PrivateCups {
 public:
  explicit PrivateCups(const std::filesystem::path& root);
  ~PrivateCups();
  PrivateCups(const PrivateCups&) = delete;
  PrivateCups& operator=(const PrivateCups&) = delete;

  // Empty when the scheduler runs with its queue; otherwise why it does not.
  const std::string& Problem() const { return problem_; }
  // CUPS_SERVER for clients of this scheduler.
  std::string Server() const { return (root_ / "cups.sock").string(); }
  std::filesystem::path OutputDir() const { return root_ / "out"; }

 private:
  std::filesystem::path root_;
  pid_t pid_ = -1;
  std::string problem_;
};

}  // namespace trelvin::e2e
