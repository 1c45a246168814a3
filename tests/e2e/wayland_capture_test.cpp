// Capture on a real Wayland desktop (headless GNOME: mutter, its screen-cast portal, PipeWire):
// with a remembered permission, "&Start" captures the screen's real pixels every second with no
// dialog; once the compositor has ended the screen cast, a tick without the screen's pixels writes
// no picture at all, never the last frame.
//
// Keys cannot be typed into mutter from outside, so "&Start" is pressed through the test build's
// start signal (SIGUSR1 clicks the button through the toolkit, the same path as a user's click).
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "e2e/GnomeSession.h"
#include "e2e/Harness.h"
#include "support/JpegDecode.h"

namespace trelvin::e2e {
namespace {

namespace fs = std::filesystem;
using trelvin::test_support::DecodedJpeg;
using trelvin::test_support::DecodeJpegFile;

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr const char* kToken = "5d1c9a3e-7b42-4f0e-9c11-3a8e2f6b7d90";

bool Near(std::uint32_t rgb, int r, int g, int b) {
  const int dr = static_cast<int>(rgb >> 16 & 0xFF) - r;
  const int dg = static_cast<int>(rgb >> 8 & 0xFF) - g;
  const int db = static_cast<int>(rgb & 0xFF) - b;
  return std::abs(dr) < 40 && std::abs(dg) < 40 && std::abs(db) < 40;
}

// Whether a capture shows the colour window: each quarter's middle in its colour.
bool ShowsQuarters(const DecodedJpeg& jpeg) {
  if (!jpeg.ok || jpeg.width != kWidth || jpeg.height != kHeight) return false;
  const int x1 = kWidth / 4, x2 = kWidth * 3 / 4, y1 = kHeight / 4, y2 = kHeight * 3 / 4;
  return Near(jpeg.At(x1, y1), 220, 30, 30) && Near(jpeg.At(x2, y1), 30, 200, 40) &&
         Near(jpeg.At(x1, y2), 30, 40, 220) && Near(jpeg.At(x2, y2), 230, 220, 30);
}

// SIGUSR1 is caught once the program has installed its start signal (bit 10 of SigCgt).
bool CatchesStartSignal(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("SigCgt:", 0) == 0) {
      return (std::stoull(line.substr(7), nullptr, 16) >> (SIGUSR1 - 1) & 1) != 0;
    }
  }
  return false;
}

TEST(WaylandCaptureTest, RememberedScreenCastCapturesRealPixelsAndNeverTheLastFrameAfterItEnds) {
  GnomeSession desktop(kWidth, kHeight);
  if (!desktop.ok()) GTEST_SKIP() << "no headless GNOME desktop here: " << desktop.Problem();
  // The desktop's user must reach the build tree (a private home folder may hide it).
  for (const char* exe : {TRELVIN_TESTHOOKS_EXE, TRELVIN_COLOUR_WINDOW}) {
    if (desktop.RunAsUser(std::string("test -x ") + Quote(exe)).status != 0)
      GTEST_SKIP() << "the unprivileged desktop user cannot run " << exe;
  }
  ASSERT_TRUE(desktop.SeedRestoreToken(kToken)) << desktop.LogTail();

  const fs::path caps = desktop.Scratch() / "caps";
  const fs::path config = desktop.Home() / ".config/Trelvin";
  fs::create_directories(caps);
  fs::create_directories(config);
  std::ofstream(config / "Trelvin.conf")
      << "[Settings]\nPath=" << caps.string() << "/\nCaptureInterval=1\nMusic=0\n";
  std::ofstream(config / "screencast.token") << kToken << "\n";
  desktop.GiveToUser(desktop.Scratch());
  desktop.GiveToUser(desktop.Home());

  const fs::path log = desktop.Scratch() / "program.log";
  const pid_t program =
      desktop.Spawn({TRELVIN_TESTHOOKS_EXE, "/c"}, {{"QT_QPA_PLATFORM", "wayland"}}, log);
  ASSERT_TRUE(WaitFor([&] { return CatchesStartSignal(program); })) << "the program did not start";
  ASSERT_EQ(::kill(program, SIGUSR1), 0);  // "&Start"

  // The window of known colours comes up over the (minimised) settings window.
  const fs::path shown = desktop.Scratch() / "colours.log";
  desktop.Spawn({TRELVIN_COLOUR_WINDOW}, {{"QT_QPA_PLATFORM", "wayland"}}, shown);

  // Two captures with the window's pixels, at the monitor's full size.
  std::vector<fs::path> good;
  const bool two_good = WaitFor(
      [&] {
        good.clear();
        for (const fs::path& jpeg : CaptureFiles(caps)) {
          if (ShowsQuarters(DecodeJpegFile(jpeg.string()))) good.push_back(jpeg);
        }
        return good.size() >= 2;
      },
      std::chrono::seconds(30));
  std::ifstream program_log(log);
  ASSERT_TRUE(two_good) << CaptureFiles(caps).size() << " captures, " << good.size()
                        << " showing the window\n"
                        << std::string(std::istreambuf_iterator<char>(program_log), {})
                        << desktop.LogTail();
  // Kept for a look by eye.
  fs::copy_file(good.back(), fs::path(TRELVIN_BUILD_DIR) / "wayland-capture.jpg",
                fs::copy_options::overwrite_existing);

  // No dialog was needed; the token the start returned is stored for the owner only.
  struct stat info {};
  ASSERT_EQ(::stat((config / "screencast.token").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  std::ifstream token_in(config / "screencast.token");
  std::string stored;
  std::getline(token_in, stored);
  EXPECT_FALSE(stored.empty());

  // The desktop shares the screen exactly while capturing: "&Stop" ends the stream, the next
  // "&Start" brings it back with no dialog.
  const auto casts = [&] {
    const std::string nodes = desktop.RunAsUser("pw-cli ls Node").output;
    std::size_t n = 0;
    for (std::size_t at = nodes.find("Stream/Output/Video"); at != std::string::npos;
         at = nodes.find("Stream/Output/Video", at + 1))
      ++n;
    return n;
  };
  EXPECT_EQ(casts(), 1u);
  ASSERT_EQ(::kill(program, SIGUSR1), 0);  // "&Stop"
  EXPECT_TRUE(WaitFor([&] { return casts() == 0; }, std::chrono::seconds(10)));
  const std::size_t stopped_at = CaptureFiles(caps).size();
  ASSERT_EQ(::kill(program, SIGUSR1), 0);  // "&Start"
  EXPECT_TRUE(WaitFor([&] { return casts() == 1; }, std::chrono::seconds(10)));
  ASSERT_TRUE(WaitFor(
      [&] {
        const std::vector<fs::path> all = CaptureFiles(caps);
        return all.size() > stopped_at && ShowsQuarters(DecodeJpegFile(all.back().string()));
      },
      std::chrono::seconds(20)));

  // The compositor ends the screen cast. One capture may be under way as it happens; after it
  // the program asks once more, and a tick the desktop cannot serve writes nothing (the user's
  // log has a line for it): never a plain background, never the last frame held.
  const fs::path failure_log = desktop.Home() / ".local/state/Trelvin/trelvin.log";
  const auto grab_failures = [&] {
    std::ifstream in(failure_log);
    std::size_t n = 0;
    for (std::string line; std::getline(in, line);) n += line.find("screen") != std::string::npos;
    return n;
  };
  const std::size_t before = CaptureFiles(caps).size();
  const std::size_t failed_before = grab_failures();
  desktop.EndScreenCasts();
  ASSERT_TRUE(WaitFor(
      [&] { return CaptureFiles(caps).size() + grab_failures() >= before + failed_before + 4; },
      std::chrono::seconds(30)));
  const std::vector<fs::path> after = CaptureFiles(caps);
  for (std::size_t i = before + 1; i < after.size(); ++i) {
    EXPECT_TRUE(ShowsQuarters(DecodeJpegFile(after[i].string()))) << after[i];
  }
  desktop.Stop(program);
}

}  // namespace
}  // namespace trelvin::e2e
