// A long run (opt-in: TRELVIN_SOAK_SECONDS=600): one program captures every second while another
// runs a slide show at 0.1 s with music over 500 pictures. Memory, threads and file descriptors
// of both are reported at the start and at the end and must not grow beyond stated bounds.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <thread>

#include "e2e/Harness.h"
#include "e2e/SlideShowHelpers.h"
#include "linux/SongFiles.h"

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
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    std::sscanf(line.c_str(), "VmRSS: %ld", &usage.rss_kb);
    std::sscanf(line.c_str(), "Threads: %ld", &usage.threads);
  }
  std::error_code error;
  for (auto it = fs::directory_iterator("/proc/" + std::to_string(pid) + "/fd", error);
       it != fs::directory_iterator(); ++it) {
    ++usage.fds;
  }
  return usage;
}

// A copy of the program in a directory of its own: its own program directory (for the songs) and
// its own instance, as a second installation would be.
fs::path InstallCopy(const fs::path& dir) {
  fs::create_directories(dir);
  const fs::path build = TRELVIN_BUILD_DIR;
  for (const char* name : {"trelvinshow", "libtrelvinjpeg.so.1"}) {
    fs::copy_file(build / name, dir / name, fs::copy_options::overwrite_existing);
  }
  return dir / "trelvinshow";
}

void Report(const char* who, const Usage& start, const Usage& end) {
  std::printf("%s: RSS %ld -> %ld kB, threads %ld -> %ld, fds %ld -> %ld\n", who, start.rss_kb,
              end.rss_kb, start.threads, end.threads, start.fds, end.fds);
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
  const fs::path capture_exe = InstallCopy(capture_home.Root() / "program");

  const fs::path pictures = show_home.Root() / "pictures";
  fs::create_directories(pictures);
  ASSERT_TRUE(MakePicture(pictures / "0.jpg", 800, 600, {30, 120, 200}));
  ASSERT_TRUE(MakePicture(pictures / "1.gif", 640, 480, {200, 120, 30}));
  for (int i = 2; i < 500; ++i) {
    fs::copy_file(pictures / (i % 2 ? "1.gif" : "0.jpg"),
                  pictures / (std::to_string(i) + (i % 2 ? ".gif" : ".jpg")));
  }
  const fs::path show_exe = InstallCopy(show_home.Root() / "program");
  // Short songs, so the run goes through many song changes.
  trelvin::testing::WriteBytes((show_home.Root() / "program/a.mid").string(),
                               trelvin::testing::MidiSong(3));
  ASSERT_TRUE(trelvin::testing::WriteMp3Song((show_home.Root() / "program/b.mp3").string(), 3));
  std::string settings = ShowSettings(pictures, 1, false);
  settings = std::regex_replace(settings, std::regex("Music=0"), "Music=1");
  show_home.WriteConfig(settings);

  Program capturer(capture_display, capture_home, {"/c"}, {}, capture_exe.string());
  std::string id;
  ASSERT_TRUE(capture_display.WaitForWindow("^Trelvin Show 1\\.4$", &id));
  capture_display.Xdotool("windowactivate --sync " + id);
  capture_display.Xdotool("mousemove --window " + id + " 155 158 click 1");  // "&Start"
  Program show(show_display, show_home, {"/s"}, {}, show_exe.string());

  std::this_thread::sleep_for(std::chrono::seconds(30));  // past start-up and the first songs
  ASSERT_TRUE(capturer.Running() && show.Running());
  const Usage capture_start = Measure(capturer.Pid());
  const Usage show_start = Measure(show.Pid());
  std::this_thread::sleep_for(std::chrono::seconds(seconds - 30));
  ASSERT_TRUE(capturer.Running() && show.Running());
  const Usage capture_end = Measure(capturer.Pid());
  const Usage show_end = Measure(show.Pid());
  Report("capture", capture_start, capture_end);
  Report("show", show_start, show_end);

  int jpegs = 0, bmps = 0;
  for (const auto& entry : fs::directory_iterator(captures)) {
    jpegs += entry.path().extension() == ".jpg";
    bmps += entry.path().extension() == ".bmp";
  }
  std::printf("captures: %d JPEG files in %d s, %d BMP files left\n", jpegs, seconds, bmps);
  EXPECT_GE(jpegs, seconds * 8 / 10);
  EXPECT_EQ(bmps, 0);

  // The bounds: 16 MB of memory, two threads and two descriptors over the whole run.
  EXPECT_LE(capture_end.rss_kb, capture_start.rss_kb + 16 * 1024);
  EXPECT_LE(show_end.rss_kb, show_start.rss_kb + 16 * 1024);
  EXPECT_LE(capture_end.threads, capture_start.threads + 2);
  EXPECT_LE(show_end.threads, show_start.threads + 2);
  EXPECT_LE(capture_end.fds, capture_start.fds + 2);
  EXPECT_LE(show_end.fds, show_start.fds + 2);
}

}  // namespace
}  // namespace trelvin::e2e
