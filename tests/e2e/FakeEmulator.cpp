#include "e2e/FakeEmulator.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace trelvin::e2e {

namespace fs = std::filesystem;

FakeEmulator::FakeEmulator(const VirtualDisplay& display, const std::string& title,
                           Placement placement)
    : title_(title) {
  const std::string count_file = (dir_ / "count").string();
  const std::vector<std::string> argv{TRELVIN_FAKE_EMULATOR,
                                      title,
                                      count_file,
                                      std::to_string(placement.x),
                                      std::to_string(placement.y),
                                      std::to_string(placement.width),
                                      std::to_string(placement.height)};
  pid_ = Spawn(argv, {{"DISPLAY", display.Name()}});
  ok_ = pid_ > 0 && WaitFor([&] { return fs::exists(count_file); });
  if (ok_ || pid_ <= 0) return;
  int status = 0;
  if (::waitpid(pid_, &status, WNOHANG) == pid_) {
    problem_ = "the stand-in ended with status " + std::to_string(status);
    pid_ = -1;
  } else {
    problem_ = "the stand-in runs but its window was not mapped; the display's windows:\n" +
               Run(display.Env() + "xwininfo -root -tree 2>&1 | head -40").output;
  }
}

FakeEmulator::~FakeEmulator() { Stop(pid_); }

std::string FakeEmulator::Count() const {
  std::ifstream in(dir_ / "count");
  std::string presses, releases;
  in >> presses >> releases;
  return presses + " " + releases;
}

Placement FakeEmulator::Where(const VirtualDisplay& display) const {
  Placement p;
  const std::string info =
      Run(display.Env() + "xwininfo -name " + Quote(title_) + " 2>/dev/null").output;
  std::istringstream lines(info);
  std::string line;
  while (std::getline(lines, line)) {
    std::sscanf(line.c_str(), "  Absolute upper-left X: %d", &p.x);
    std::sscanf(line.c_str(), "  Absolute upper-left Y: %d", &p.y);
    std::sscanf(line.c_str(), "  Width: %d", &p.width);
    std::sscanf(line.c_str(), "  Height: %d", &p.height);
  }
  return p;
}

void ExpectQuadrants(const std::function<std::uint32_t(int, int)>& pixel, const Placement& at,
                     int tolerance) {
  const std::uint32_t colours[4] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
  for (int q = 0; q < 4; ++q) {
    const int x = at.x + (q % 2 ? 3 : 1) * at.width / 4;
    const int y = at.y + (q / 2 ? 3 : 1) * at.height / 4;
    for (int shift : {24, 16, 8, 0}) {  // the top byte too: nothing may be set there
      EXPECT_NEAR(int(pixel(x, y) >> shift & 0xFF), int(colours[q] >> shift & 0xFF), tolerance)
          << "quadrant " << q << " at " << x << "," << y;
    }
  }
}

}  // namespace trelvin::e2e
