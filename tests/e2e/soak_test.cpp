// A long run (opt-in: TRELVIN_SOAK_SECONDS=600): one program captures every second while another
// runs a slide show at 0.1 s with music over 500 pictures. Memory, threads and file descriptors
// of both are reported at the start and at the end and must not grow beyond stated bounds.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <thread>

#include "e2e/Harness.h"
#include "e2e/SlideShowHelpers.h"
#include "support/SongFiles.h"

namespace trelvin::e2e {
namespace {

namespace fs = std::filesystem;

struct Usage {
  long rss_kb = 0;
  long threads = 0;
  long fds = 0;
};

Usage Measure(pid_t pid) {
  Usage usage;
  usage.rss_kb = ProcStatusValue(pid, "VmRSS");
  usage.threads = ProcStatusValue(pid, "Threads");
  std::error_code error;
  for (auto it = fs::directory_iterator("/proc/" + std::to_string(pid) + "/fd", error);
       it != fs::directory_iterator(); ++it) {
    ++usage.fds;
  }
  return usage;
}

// The least and the most of each figure over a window of samples, one a second.
struct Range {
  Usage low{1L << 40, 1L << 40, 1L << 40};
  Usage high;
};

// A MIDI song holds the sound font (well over 100 MB) while it plays, an MPEG song does not: a
// single sample says more about the song playing than about growth. The window covers both kinds.
void Sample(pid_t a, Range& range_a, pid_t b, Range& range_b, int seconds) {
  for (int i = 0; i < seconds; ++i) {
    for (auto [pid, range] : {std::pair{a, &range_a}, std::pair{b, &range_b}}) {
      const Usage u = Measure(pid);
      range->low = {std::min(range->low.rss_kb, u.rss_kb), std::min(range->low.threads, u.threads),
                    std::min(range->low.fds, u.fds)};
      range->high = {std::max(range->high.rss_kb, u.rss_kb),
                     std::max(range->high.threads, u.threads), std::max(range->high.fds, u.fds)};
    }
    std::this_thread::sleep_for(std::chrono::seconds(1));
  }
}

void Report(const char* who, const Range& start, const Range& end) {
  std::printf(
      "%s: RSS %ld..%ld -> %ld..%ld kB, threads %ld..%ld -> %ld..%ld, fds %ld..%ld -> %ld..%ld\n",
      who, start.low.rss_kb, start.high.rss_kb, end.low.rss_kb, end.high.rss_kb, start.low.threads,
      start.high.threads, end.low.threads, end.high.threads, start.low.fds, start.high.fds,
      end.low.fds, end.high.fds);
}

// Neither the quiet level nor the peak may grow beyond the bounds.
void ExpectNoGrowth(const char* who, const Range& start, const Range& end) {
  SCOPED_TRACE(who);
  EXPECT_LE(end.low.rss_kb, start.low.rss_kb + 16 * 1024);
  EXPECT_LE(end.high.rss_kb, start.high.rss_kb + 16 * 1024);
  EXPECT_LE(end.high.threads, start.high.threads + 2);
  EXPECT_LE(end.high.fds, start.high.fds + 2);
}

TEST(SoakTest, CaptureAndMusicalSlideShowRunWithoutGrowth) {
  const char* seconds_text = std::getenv("TRELVIN_SOAK_SECONDS");
  if (!seconds_text) GTEST_SKIP() << "opt-in: set TRELVIN_SOAK_SECONDS (for example 600)";
  const int seconds = std::atoi(seconds_text);
  ASSERT_GT(seconds, 60);

  VirtualDisplay capture_display(1024, 768);
  VirtualDisplay show_display(1024, 768);
  ASSERT_TRUE(capture_display.ok() && show_display.ok());
  TestHome capture_home, show_home;

  const fs::path captures = capture_home.Root() / "captures";
  fs::create_directories(captures);
  capture_home.WriteConfig("[Settings]\nPath=" + captures.string() +
                           "\nCaptureInterval=1\nCompressionLevel=60\nMusic=0\n");
  const fs::path capture_exe = InstallProgramCopy(capture_home.Root() / "program");

  const fs::path pictures = show_home.Root() / "pictures";
  fs::create_directories(pictures);
  ASSERT_TRUE(MakePicture(pictures / "0.jpg", 800, 600, {30, 120, 200}));
  ASSERT_TRUE(MakePicture(pictures / "1.gif", 640, 480, {200, 120, 30}));
  for (int i = 2; i < 500; ++i) {
    fs::copy_file(pictures / (i % 2 ? "1.gif" : "0.jpg"),
                  pictures / (std::to_string(i) + (i % 2 ? ".gif" : ".jpg")));
  }
  const fs::path show_exe = InstallProgramCopy(show_home.Root() / "program");
  // Short songs, so the run goes through many song changes.
  trelvin::test_support::WriteBytes((show_home.Root() / "program/a.mid").string(),
                                    trelvin::test_support::MidiSong(3));
  ASSERT_TRUE(
      trelvin::test_support::WriteMp3Song((show_home.Root() / "program/b.mp3").string(), 3));
  std::string settings = ShowSettings(pictures, 1, false);
  settings = std::regex_replace(settings, std::regex("Music=0"), "Music=1");
  show_home.WriteConfig(settings);

  Program capturer(capture_display, capture_home, {"/c"}, {}, capture_exe.string());
  std::string id;
  ASSERT_TRUE(capture_display.WaitForWindow(MainWindowTitlePattern(), &id));
  capture_display.Xdotool("windowactivate --sync " + id);
  capture_display.Xdotool("mousemove --window " + id + " 155 158 click 1");  // "&Start"
  Program show(show_display, show_home, {"/s"}, {}, show_exe.string());

  std::this_thread::sleep_for(std::chrono::seconds(30));  // past start-up and the first songs
  ASSERT_TRUE(capturer.Running() && show.Running());
  constexpr int kWindow = 12;  // seconds: two songs of each kind with their gaps
  Range capture_start, show_start, capture_end, show_end;
  Sample(capturer.Pid(), capture_start, show.Pid(), show_start, kWindow);
  std::this_thread::sleep_for(std::chrono::seconds(seconds - 30 - 2 * kWindow));
  ASSERT_TRUE(capturer.Running() && show.Running());
  Sample(capturer.Pid(), capture_end, show.Pid(), show_end, kWindow);
  ASSERT_TRUE(capturer.Running() && show.Running());
  Report("capture", capture_start, capture_end);
  Report("show", show_start, show_end);

  int jpegs = 0;
  std::vector<fs::path> seen_bmps;
  for (const auto& entry : fs::directory_iterator(captures)) {
    jpegs += entry.path().extension() == ".jpg";
    if (entry.path().extension() == ".bmp") seen_bmps.push_back(entry.path());
  }
  const int bmps = static_cast<int>(LeftBehind(seen_bmps).size());
  std::printf("captures: %d JPEG files in %d s, %d BMP files left\n", jpegs, seconds, bmps);
  EXPECT_GE(jpegs, seconds * 8 / 10);
  EXPECT_EQ(bmps, 0);

  // The bounds: 16 MB of memory, two threads and two descriptors over the whole run.
  ExpectNoGrowth("capture", capture_start, capture_end);
  ExpectNoGrowth("show", show_start, show_end);
}

}  // namespace
}  // namespace trelvin::e2e
