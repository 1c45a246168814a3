// One capture of the whole screen (grab, BMP, convert, delete) against its floor (the grab plus an
// in-memory JPEG compression of the same pixels) and against scrot, on Xvfb screens of 1920 x 1080
// and 3840 x 2160; the cost of flushing the JPEG to the disk; then the process's memory across
// many captures; the unchanged-screen test and a skipped tick against a written one. The captures
// go to the temporary directory (TMPDIR chooses the disk).
//   capture_bench [--runs N] [--soak N] [--level L]
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// Qt before X11, whose macros (Bool, Status, None) break Qt headers.
#include <QApplication>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "atomicfile/TempFile.h"
#include "bench/CompressInMemory.h"
#include "core/base/BmpFile.h"
#include "core/capture/ScreenChange.h"
#include "core/services/StandardRandom.h"
#include "core/shell/FormMainSlide.h"
#include "fakes/FakeCaptureKeeping.h"
#include "fakes/FakePlatform.h"
#include "os/linux/app/LinuxKnownPaths.h"
#include "os/linux/app/QtInstanceLock.h"
#include "os/linux/app/QtLocale.h"
#include "os/linux/app/QtSettingsStore.h"
#include "os/linux/app/SystemClock.h"
#include "os/linux/capture/LibJpegConverter.h"
#include "os/linux/capture/X11ScreenGrab.h"
#include "os/linux/capture/X11WindowActivation.h"
#include "os/linux/desktop/XdgShell.h"
#include "os/linux/files/PosixFileSystem.h"
#include "os/linux/window/QtFolderDialog.h"
#include "os/linux/window/QtWindowRuntime.h"
#include "trelvin_jpeg.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

// Xvfb on a display of its own; ended with the object.
class Xvfb {
 public:
  Xvfb(int width, int height) {
    int fds[2];
    if (::pipe(fds) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(fds[1], 3);
      const int null_fd = ::open("/dev/null", O_RDWR);
      ::dup2(null_fd, 1);
      ::dup2(null_fd, 2);
      const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
      ::execlp("Xvfb", "Xvfb", "-displayfd", "3", "-screen", "0", screen.c_str(), "-nolisten",
               "tcp", "-ac", static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::close(fds[1]);
    std::string number;
    char c;
    while (::read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    ::close(fds[0]);
    if (!number.empty()) name_ = ":" + number;
  }
  ~Xvfb() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      ::waitpid(pid_, nullptr, 0);
    }
  }
  const std::string& Name() const { return name_; }

 private:
  pid_t pid_ = -1;
  std::string name_;
};

// Covers the screen with a picture like a game's: gradients, hard-edged shapes and some noise, so
// the encoder has real work (a flat screen would flatter every contender).
class Scene {
 public:
  Scene(int width, int height) {
    display_ = XOpenDisplay(nullptr);
    if (!display_) return;
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    window_ =
        XCreateWindow(display_, DefaultRootWindow(display_), 0, 0, static_cast<unsigned>(width),
                      static_cast<unsigned>(height), 0, CopyFromParent, InputOutput, CopyFromParent,
                      CWOverrideRedirect, &attributes);
    XMapRaised(display_, window_);
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    std::uint32_t seed = 1;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        seed = seed * 1664525u + 1013904223u;
        const int noise = static_cast<int>(seed >> 28) - 8;
        int r = x * 255 / width, g = y * 255 / height, b = (x + y) * 127 / (width + height) + 64;
        if ((x / 97 + y / 61) % 3 == 0) r = 255 - r, b = 40;
        if (((x - width / 2) * (x - width / 2) + (y - height / 2) * (y - height / 2)) % 9000 < 900)
          g = 230;
        auto clamp = [](int v) { return std::clamp(v, 0, 255); };
        pixels[static_cast<std::size_t>(y) * width + x] = static_cast<std::uint32_t>(
            clamp(r + noise) << 16 | clamp(g + noise) << 8 | clamp(b + noise));
      }
    }
    XImage* image =
        XCreateImage(display_, DefaultVisual(display_, DefaultScreen(display_)), 24, ZPixmap, 0,
                     reinterpret_cast<char*>(pixels.data()), static_cast<unsigned>(width),
                     static_cast<unsigned>(height), 32, 0);
    const GC gc = XCreateGC(display_, window_, 0, nullptr);
    XSync(display_, False);
    XPutImage(display_, window_, gc, image, 0, 0, 0, 0, static_cast<unsigned>(width),
              static_cast<unsigned>(height));
    XSync(display_, False);
    image->data = nullptr;
    XDestroyImage(image);
    XFreeGC(display_, gc);
  }
  ~Scene() {
    if (display_) XCloseDisplay(display_);
  }

 private:
  Display* display_ = nullptr;
  Window window_ = 0;
};

using trelvin::bench::CompressInMemory;

double RunScrot(const std::string& path, int quality) {
  const auto start = Clock::now();
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int null_fd = ::open("/dev/null", O_RDWR);
    ::dup2(null_fd, 1);
    ::dup2(null_fd, 2);
    const std::string q = std::to_string(quality);
    ::execlp("scrot", "scrot", "-o", "-q", q.c_str(), path.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  const double ms = Ms(Clock::now() - start);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? ms : -1;
}

long ResidentKiB() {
  std::ifstream in("/proc/self/status");
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
  }
  return -1;
}

struct Options {
  int runs = 21;
  int soak = 1000;
  int level = 60;
};

// The program's services, as its main wires them.
struct Program {
  trelvin::QtWindowRuntime runtime;
  trelvin::QtSettingsStore settings;
  trelvin::PosixFileSystem files;
  trelvin::SystemClock clock;
  trelvin::StandardRandom random;
  trelvin::XdgShell shell;
  trelvin::QtInstanceLock instance;
  trelvin::QtFolderDialog folder_dialog{runtime};
  trelvin::LinuxKnownPaths known_paths;
  trelvin::QtLocale locale;
  trelvin::X11ScreenGrab screen_grab;
  trelvin::LibJpegConverter jpeg;
  // The capture uses none of these; idle stand-ins keep the measurement to the capture itself.
  trelvin::fakes::FakeMediaControl media;
  trelvin::fakes::FakePictures pictures;
  trelvin::fakes::FakePrinter printer;
  trelvin::fakes::FakeCursor cursor;
  trelvin::fakes::FakeMessageBox message_box{cursor};
  trelvin::fakes::FakeWallpaper wallpaper;
  trelvin::X11WindowActivation windows;
  trelvin::fakes::FakeNotifications notifications;
  trelvin::fakes::FakeVideoMaker video;
  trelvin::fakes::FakeScreenSaverLock saver_lock;
  trelvin::Services services{runtime,       settings,  files,         clock,       random,
                             shell,         instance,  folder_dialog, known_paths, locale,
                             screen_grab,   jpeg,      media,         pictures,    printer,
                             message_box,   wallpaper, cursor,        windows,     saver_lock,
                             notifications, video};
  trelvin::fakes::FakeCaptureKeeping keeping;  // plenty of room, present, no icon
  trelvin::FormMainSlide form{services, "/c", &keeping.services};
};

// The unchanged-screen test on two equal grabs (it must read every pixel to say "unchanged"), and
// whole ticks of a run that skips unchanged screens: a still screen skipped, then written.
void BenchSkip(Program& program, const Options& options, const fs::path& dir) {
  trelvin::FormMainSlide& form = program.form;
  form.CaptureScreen(form.Picture1, (dir / "capture").string());
  const trelvin::Bitmap copy = form.Picture1.Image();
  std::vector<double> same_ms, tick_ms[2];
  for (int i = 0; i < options.runs; ++i) {
    const auto t0 = Clock::now();
    if (!trelvin::SameScreen(copy, form.Picture1.Image())) std::fprintf(stderr, "not the same\n");
    same_ms.push_back(Ms(Clock::now() - t0));
  }
  form.AppPath = (dir / "ticks").string() + "/";
  fs::create_directories(form.AppPath);
  form.hscrCapture.SetValue(1);
  trelvin::CaptureKeeper& keeper = *form.Keeper();
  int skipped = 0;
  for (const bool skip : {true, false}) {
    keeper.BeginRun(form.AppPath, 1);
    keeper.skip_unchanged = skip;
    form.Timer1_Timer();  // the first of a run is always written
    for (int i = 0; i < options.runs; ++i) {
      const auto t0 = Clock::now();
      form.Timer1_Timer();
      tick_ms[skip].push_back(Ms(Clock::now() - t0));
    }
    if (skip) skipped = keeper.Skipped();
    keeper.EndRun();
  }
  std::printf("  unchanged test %.2f ms | tick skipped %.1f ms, written %.1f ms (%.2f) | %d %s\n",
              Median(same_ms), Median(tick_ms[1]), Median(tick_ms[0]),
              Median(tick_ms[1]) / Median(tick_ms[0]), skipped,
              skipped == options.runs ? "skipped" : "skipped: NOT ALL");
}

bool BenchScreen(int width, int height, const Options& options, const fs::path& dir, bool soak) {
  Xvfb xvfb(width, height);
  if (xvfb.Name().empty()) return false;
  ::setenv("DISPLAY", xvfb.Name().c_str(), 1);
  Scene scene(width, height);
  int argc = 1;
  char name[] = "capture_bench";
  char* argv[] = {name, nullptr};
  ::setenv("QT_QPA_PLATFORM", "xcb", 1);
  QApplication app(argc, argv);
  Program program;
  trelvin::FormMainSlide& form = program.form;
  form.hScrCompression.SetValue(options.level);
  const std::string base = (dir / "capture").string();

  trelvin::X11ScreenGrab floor_grab;
  trelvin::Bitmap floor_image;
  floor_image.Resize(width, height, 0);
  std::vector<double> capture_ms, grab_ms, encode_ms, floor_ms, scrot_ms;
  std::size_t jpeg_bytes = 0, floor_bytes = 0;
  for (int i = 0; i < options.runs + 2; ++i) {
    auto t0 = Clock::now();
    form.CaptureScreen(form.Picture1, base);
    auto t1 = Clock::now();
    if (i == 0) jpeg_bytes = fs::exists(base + ".jpg") ? fs::file_size(base + ".jpg") : 0;
    if (fs::exists(base + ".bmp")) std::fprintf(stderr, "BMP left behind\n");

    auto t2 = Clock::now();
    auto session = floor_grab.OpenDesktop();
    session->CopyTo(floor_image, width, height);
    session->Release();
    auto t3 = Clock::now();
    floor_bytes = CompressInMemory(floor_image, options.level);
    auto t4 = Clock::now();
    const double scrot = RunScrot((dir / "scrot.jpg").string(), options.level);
    if (i < 2) continue;  // warm-up: first shared segment, page cache, libraries
    capture_ms.push_back(Ms(t1 - t0));
    grab_ms.push_back(Ms(t3 - t2));
    encode_ms.push_back(Ms(t4 - t3));
    floor_ms.push_back(Ms(t4 - t2));
    if (scrot >= 0) scrot_ms.push_back(scrot);
  }
  const double capture = Median(capture_ms), floor = Median(floor_ms), scrot = Median(scrot_ms);
  std::printf(
      "%dx%d level %d, %d runs: capture %.1f ms | floor %.1f ms (grab %.1f + encode %.1f)"
      " | scrot %.1f ms | capture/floor %.2f | capture/scrot %.2f | JPEG %zu bytes"
      " (in memory %zu)\n",
      width, height, options.level, options.runs, capture, floor, Median(grab_ms),
      Median(encode_ms), scrot, capture / floor, scrot > 0 ? capture / scrot : 0.0, jpeg_bytes,
      floor_bytes);
  std::printf("  grab through shared memory: %s\n",
              program.screen_grab.LastCopyUsedSharedMemory() ? "yes" : "no");

  // Where a capture's time goes: its steps one by one, with the same functions.
  const char* step_names[] = {"clear", "clear+grab", "BMP write", "convert", "delete"};
  std::vector<double> step_ms[5];
  for (int i = 0; i < options.runs; ++i) {
    trelvin::PictureBox& canvas = form.Picture1;
    Clock::time_point t[6];
    t[0] = Clock::now();
    canvas.Cls();  // deferred: the copy below clears in its own pass, as the capture does
    t[1] = Clock::now();
    auto session = program.screen_grab.OpenDesktop();
    if (canvas.TakePendingClear()) {
      session->CopyToCleared(canvas.Image(), width, height, canvas.BackColor());
    } else {
      session->CopyTo(canvas.Image(), width, height);
    }
    session->Release();
    t[2] = Clock::now();
    trelvin::Bmp24Encoder bmp(canvas.Image());
    program.files.WriteFileChunks(base + ".bmp", [&] { return bmp.Next(); });
    t[3] = Clock::now();
    BmpToJpeg((base + ".bmp").c_str(), (base + ".jpg").c_str(),
              static_cast<std::int16_t>(options.level));
    t[4] = Clock::now();
    program.files.DeleteFile(base + ".bmp");
    t[5] = Clock::now();
    for (int k = 0; k < 5; ++k) step_ms[k].push_back(Ms(t[k + 1] - t[k]));
  }
  std::printf("  steps (median ms):");
  for (int k = 0; k < 5; ++k) std::printf(" %s %.1f", step_names[k], Median(step_ms[k]));
  std::printf("\n");

  // What the converter's flush costs (the JPEG and its folder on the disk before the BMP goes):
  // the capture's JPEG bytes committed as a new file, with and without it.
  std::ifstream jpeg_in(base + ".jpg", std::ios::binary);
  const std::string jpeg_data{std::istreambuf_iterator<char>(jpeg_in), {}};
  std::vector<double> commit_ms[2];
  for (int i = 0; i < options.runs; ++i) {
    for (const bool durable : {false, true}) {
      fs::remove(base + "-commit.jpg");
      const auto t0 = Clock::now();
      trelvin::TempFile file(base + "-commit.jpg");
      if (durable) file.RequireDurable();
      if (!file.Write(jpeg_data.data(), jpeg_data.size()) || !file.Commit()) return false;
      commit_ms[durable].push_back(Ms(Clock::now() - t0));
    }
  }
  std::printf(
      "  JPEG of %zu bytes written and renamed: %.2f ms; flushed with its folder: %.2f ms\n",
      jpeg_data.size(), Median(commit_ms[0]), Median(commit_ms[1]));

  BenchSkip(program, options, dir);

  if (soak) {
    long after_ten = 0;
    const auto start = Clock::now();
    for (int i = 1; i <= options.soak; ++i) {
      form.CaptureScreen(form.Picture1, base);
      if (i == 10) after_ten = ResidentKiB();
    }
    const long end = ResidentKiB();
    std::printf(
        "%dx%d memory over %d captures: %ld KiB after 10, %ld KiB after %d, growth %ld KiB"
        " (%.1f s)\n",
        width, height, options.soak, after_ten, end, options.soak, end - after_ten,
        Ms(Clock::now() - start) / 1000);
  }
  std::fflush(stdout);
  return true;
}

}  // namespace

int main(int argc, char* argv[]) {
  Options options;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string flag = argv[i];
    if (flag == "--runs") options.runs = std::max(1, std::atoi(argv[i + 1]));
    if (flag == "--soak") options.soak = std::max(10, std::atoi(argv[i + 1]));
    if (flag == "--level") options.level = std::clamp(std::atoi(argv[i + 1]), 1, 100);
  }
  std::string pattern = (fs::temp_directory_path() / "trelvin-bench-XXXXXX").string();
  const fs::path dir = ::mkdtemp(pattern.data());
  bool ok = BenchScreen(1920, 1080, options, dir, true);
  ok = BenchScreen(3840, 2160, options, dir, false) && ok;
  fs::remove_all(dir);
  return ok ? 0 : 1;
}
