// Music playback: how long PlayMusic takes, how soon a song is heard, and whether 1,000 song
// changes leave threads, file descriptors or memory behind.
//
//   build/music_bench [changes]     (TRELVIN_AUDIO_SINK defaults to "fakesink sync=true" here)
#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

#include "core/shell/FormMainSlide.h"
#include "core/slideshow/FormSlideShow.h"
#include "fakes/FakePlatform.h"
#include "os/linux/media/GstMediaEngine.h"
#include "os/linux/media/mci/MciInterpreter.h"
#include "support/SongFiles.h"

namespace {

using namespace trelvin;
using SteadyClock = std::chrono::steady_clock;
namespace fs = std::filesystem;

double Ms(SteadyClock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

int CountEntries(const char* dir) {
  int n = 0;
  if (DIR* d = ::opendir(dir)) {
    while (const dirent* e = ::readdir(d)) n += e->d_name[0] != '.';
    ::closedir(d);
  }
  return n - (std::string(dir) == "/proc/self/fd" ? 1 : 0);  // the listing's own descriptor
}

long RssKiB() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return resident * (::sysconf(_SC_PAGESIZE) / 1024);
}

struct Stats {
  double median, p95, max;
};
Stats Summarise(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return {v[v.size() / 2], v[v.size() * 95 / 100], v.back()};
}

// Waits for the first audio of the next song to reach the output.
class FirstBuffers {
 public:
  explicit FirstBuffers(GstMediaEngine& engine) {
    engine.SetFirstBufferObserver([this](const std::string&) {
      std::lock_guard lock(mutex_);
      ++count_;
      at_ = SteadyClock::now();
      cv_.notify_all();
    });
  }
  int Count() {
    std::lock_guard lock(mutex_);
    return count_;
  }
  // The time of the buffer after `seen`, or nothing after two seconds.
  bool WaitBeyond(int seen, SteadyClock::time_point& at) {
    std::unique_lock lock(mutex_);
    if (!cv_.wait_for(lock, std::chrono::seconds(2), [&] { return count_ > seen; })) return false;
    at = at_;
    return true;
  }

 private:
  std::mutex mutex_;
  std::condition_variable cv_;
  int count_ = 0;
  SteadyClock::time_point at_;
};

}  // namespace

int main(int argc, char** argv) {
  const int changes = argc > 1 ? std::atoi(argv[1]) : 1000;
  ::setenv("TRELVIN_AUDIO_SINK", "fakesink sync=true", 0);
  const std::string dir = (fs::temp_directory_path() / "trelvin-music-bench").string() + "/";
  fs::create_directories(dir);
  test_support::WriteBytes(dir + "a.mid", test_support::MidiSong(60));
  if (!test_support::WriteMp3Song(dir + "b.mp3", 30)) {
    std::fprintf(stderr, "cannot encode the MP3 song\n");
    return 1;
  }

  GstMediaEngine engine(GstMediaEngine::AudioSinkFromEnvironment());
  MciInterpreter media(engine);
  fakes::FakePlatform p;
  Services services{p.runtime,       p.settings,  p.files,         p.clock,       p.random,
                    p.shell,         p.instance,  p.folder_dialog, p.known_paths, p.locale,
                    p.screen_grab,   p.jpeg,      media,           p.pictures,    p.printer,
                    p.message_box,   p.wallpaper, p.cursor,        p.windows,     p.saver_lock,
                    p.notifications, p.video};
  FormMainSlide main_window(services, "");
  FormSlideShow& show = main_window.formSlideShow();
  show.MusicPath = dir;
  show.MusicFlag = true;
  show.lstMusic.AddItem("a.mid");
  show.lstMusic.AddItem("b.mp3");
  FirstBuffers heard(engine);

  std::printf("audio output: %s\n", GstMediaEngine::AudioSinkFromEnvironment().c_str());
  // Warm-up: the first MIDI song reads the sound font from disk.
  show.MusicIndex = 0;
  show.PlayMusic(false);
  SteadyClock::time_point at;
  heard.WaitBeyond(0, at);

  std::vector<double> call_ms[2], first_ms[2];
  for (int i = 0; i < 60; ++i) {
    const int song = i % 2;
    const int seen = heard.Count();
    show.MusicIndex = static_cast<std::int16_t>(song);
    const auto start = SteadyClock::now();
    show.PlayMusic(false);
    call_ms[song].push_back(Ms(SteadyClock::now() - start));
    if (heard.WaitBeyond(seen, at)) first_ms[song].push_back(Ms(at - start));
    engine.Flush();
  }
  const char* names[2] = {"MIDI (sequencer)", "MP3 (MPEGVideo)"};
  std::printf("%-18s %28s %28s\n", "", "PlayMusic call ms (med/p95/max)",
              "first audio ms (med/p95/max)");
  for (int song = 0; song < 2; ++song) {
    const Stats c = Summarise(call_ms[song]);
    const Stats f = Summarise(first_ms[song]);
    std::printf("%-18s %10.3f %8.3f %8.3f %10.1f %8.1f %8.1f   (%zu heard of %zu)\n", names[song],
                c.median, c.p95, c.max, f.median, f.p95, f.max, first_ms[song].size(),
                call_ms[song].size());
  }

  std::printf("\n%8s %8s %6s %9s %9s\n", "changes", "threads", "fds", "rss KiB", "call ms");
  std::vector<double> all_calls;
  int missed = 0;
  for (int i = 1; i <= changes; ++i) {
    const int seen = heard.Count();
    show.MusicIndex = static_cast<std::int16_t>(i % 2);
    const auto start = SteadyClock::now();
    show.PlayMusic(false);
    show.CheckSongEnd();  // the song plays on: nothing happens
    all_calls.push_back(Ms(SteadyClock::now() - start));
    if (!heard.WaitBeyond(seen, at)) ++missed;
    if (i == 1 || i % 100 == 0) {
      engine.Flush();
      std::printf("%8d %8d %6d %9ld %9.3f\n", i, CountEntries("/proc/self/task"),
                  CountEntries("/proc/self/fd"), RssKiB(), Summarise(all_calls).median);
    }
  }
  std::printf("songs not heard within 2 s: %d of %d\n", missed, changes);
  show.StopMusic();
  engine.Flush();
  std::printf("after close all: threads %d, fds %d, rss %ld KiB\n", CountEntries("/proc/self/task"),
              CountEntries("/proc/self/fd"), RssKiB());
  engine.SetFirstBufferObserver(nullptr);
  fs::remove_all(dir);
  return 0;
}
