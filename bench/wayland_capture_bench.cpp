// The Wayland grab on a headless GNOME desktop (mutter, its screen-cast portal, PipeWire) against
// the X11 grab on an Xvfb screen of the same size, in the same run: the time from the start of
// capturing (BeginSession, what "&Start" calls) to the first frame, and one grab (the copy of the
// newest frame into a canvas-sized bitmap). The desktop runs as an unprivileged user; the
// Wayland half runs as that user inside it (this program started again with --inside).
//   wayland_capture_bench [--runs N] [--size WxH]
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include <QCoreApplication>

#include "e2e/GnomeSession.h"
#include "e2e/Harness.h"
#include "os/linux/capture/PipeWireFrames.h"
#include "os/linux/capture/PortalScreenCast.h"
#include "os/linux/capture/ScreenCastToken.h"
#include "os/linux/capture/WaylandScreenGrab.h"
#include "os/linux/capture/X11ScreenGrab.h"

namespace {

using Clock = std::chrono::steady_clock;
using trelvin::Bitmap;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

// One grab as a capture does it: open, copy with clear, release. Whether it copied.
bool GrabOnce(trelvin::ScreenGrab& grab, Bitmap& canvas) {
  auto session = grab.OpenDesktop();
  if (!session) return false;
  const bool copied = session->CopyToCleared(canvas, canvas.width, canvas.height, 0xF0F0F0);
  session->Release();
  return copied;
}

// As the desktop's user: start to first frame (fresh session each time), then grabs.
int Inside(int argc, char* argv[], int runs, int width, int height) {
  QCoreApplication app(argc, argv);
  trelvin::PortalScreenCast portal;
  trelvin::PipeWireFrames frames;
  trelvin::ScreenCastToken token(trelvin::ScreenCastToken::DefaultPath());
  trelvin::WaylandScreenGrab grab(portal, frames, token);
  Bitmap canvas;
  canvas.Resize(width, height, 0);
  std::vector<double> first_frame;
  for (int i = 0; i < 5; ++i) {
    const auto start = Clock::now();
    grab.BeginSession();
    bool got = false;
    double granted = -1;
    while (!got && Clock::now() - start < std::chrono::seconds(20)) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
      if (granted < 0 && grab.CurrentState() == trelvin::WaylandScreenGrab::State::kStreaming)
        granted = Ms(Clock::now() - start);
      got = GrabOnce(grab, canvas);
    }
    std::printf("start %d: portal granted after %.1f ms", i + 1, granted);
    if (!got) {
      std::printf("no frame within 20 s\n");
      return 1;
    }
    first_frame.push_back(Ms(Clock::now() - start));
    std::printf(", first frame after %.1f ms\n", first_frame.back());
    if (i + 1 < 5) grab.EndSession();
  }
  std::vector<double> grabs;
  for (int i = 0; i < runs + 2; ++i) {
    const auto start = Clock::now();
    const bool copied = GrabOnce(grab, canvas);
    const double ms = Ms(Clock::now() - start);
    if (!copied) return 1;
    if (i >= 2) grabs.push_back(ms);
  }
  grab.EndSession();
  std::sort(first_frame.begin(), first_frame.end());
  std::printf("wayland start to first frame: min %.1f ms, median %.1f ms, max %.1f ms (5 starts)\n",
              first_frame.front(), Median(first_frame), first_frame.back());
  std::printf("wayland grab %dx%d: median %.2f ms (%d runs)\n", width, height, Median(grabs), runs);
  return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
  int runs = 21, width = 1920, height = 1080;
  bool inside = false;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--runs") && i + 1 < argc) runs = std::atoi(argv[++i]);
    if (!std::strcmp(argv[i], "--size") && i + 1 < argc)
      std::sscanf(argv[++i], "%dx%d", &width, &height);
    if (!std::strcmp(argv[i], "--inside")) inside = true;
  }
  if (inside) return Inside(argc, argv, runs, width, height);

  {
    trelvin::e2e::GnomeSession desktop(width, height);
    if (!desktop.ok()) {
      std::printf("no headless GNOME desktop: %s\n", desktop.Problem().c_str());
      return 1;
    }
    const std::string token = "8e0d6f12-3c4b-4a5e-9f70-1b2c3d4e5f60";
    if (!desktop.SeedRestoreToken(token)) {
      std::printf("could not seed the permission store\n");
      return 1;
    }
    const auto config = desktop.Home() / ".config/Trelvin";
    std::filesystem::create_directories(config);
    std::ofstream(config / "screencast.token") << token << "\n";
    desktop.GiveToUser(desktop.Home());
    const auto log = desktop.Scratch() / "bench.log";
    // GStreamer's debug output reaches the inside run when asked for.
    std::map<std::string, std::string> env;
    if (const char* debug = std::getenv("GST_DEBUG")) env["GST_DEBUG"] = debug;
    char self[4096] = {};
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) return 1;
    const pid_t pid = desktop.Spawn({self, "--inside", "--runs", std::to_string(runs), "--size",
                                     std::to_string(width) + "x" + std::to_string(height)},
                                    env, log);
    int status = 0;
    waitpid(pid, &status, 0);
    std::ifstream in(log);
    std::printf("%s", std::string(std::istreambuf_iterator<char>(in), {}).c_str());
  }

  trelvin::e2e::VirtualDisplay display(width, height, false);
  if (!display.ok()) return 1;
  setenv("DISPLAY", display.Name().c_str(), 1);
  trelvin::X11ScreenGrab x11;
  Bitmap canvas;
  canvas.Resize(width, height, 0);
  std::vector<double> grabs;
  for (int i = 0; i < runs + 2; ++i) {
    const auto start = Clock::now();
    GrabOnce(x11, canvas);
    if (i >= 2) grabs.push_back(Ms(Clock::now() - start));
  }
  std::printf("x11 grab %dx%d (MIT-SHM: %s): median %.2f ms (%d runs)\n", width, height,
              x11.LastCopyUsedSharedMemory() ? "yes" : "no", Median(grabs), runs);
  return 0;
}
