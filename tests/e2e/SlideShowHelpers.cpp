#include "e2e/SlideShowHelpers.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

namespace trelvin::e2e {

bool MakePicture(const std::filesystem::path& path, int width, int height, Rgb8 colour) {
  const std::string fill = "xc:rgb(" + std::to_string(colour.r) + "," + std::to_string(colour.g) +
                           "," + std::to_string(colour.b) + ")";
  const std::string size = std::to_string(width) + "x" + std::to_string(height);
  return Run("convert -size " + size + " " + Quote(fill) + " -quality 95 " + Quote(path.string()) +
             " 2>/dev/null")
                 .status == 0 &&
         std::filesystem::exists(path);
}

std::string ShowSettings(const std::filesystem::path& dir, int interval, bool stretch) {
  return "[Settings]\nPath=" + dir.string() + "\nShowInterval=" + std::to_string(interval) +
         "\nStretchImage=" + (stretch ? "1" : "0") + "\nMusic=0\nRandom=0\n";
}

bool Near(Rgb8 a, Rgb8 b, int tolerance) {
  return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
         std::abs(a.b - b.b) <= tolerance;
}

const ColourPoints kCentredPink{{{352, 284}, kPink}, {{671, 483}, kPink}, {{351, 284}, kBack},
                                {{352, 283}, kBack}, {{672, 483}, kBack}, {{671, 484}, kBack},
                                {{0, 0}, kBack},     {{1023, 767}, kBack}};
const ColourPoints kStretchedPink{{{0, 0}, kPink}, {{1023, 767}, kPink}, {{512, 384}, kPink}};

bool WaitForColours(const VirtualDisplay& display, const ColourPoints& points,
                    std::chrono::milliseconds timeout) {
  return WaitFor(
      [&] {
        const Screenshot shot = display.Capture();
        if (shot.width == 0) return false;
        for (const auto& [where, colour] : points) {
          if (!Near(shot.At(where.first, where.second), colour)) return false;
        }
        return true;
      },
      timeout);
}

PrivateCups::PrivateCups(const std::filesystem::path& root) : root_(root) {
  namespace fs = std::filesystem;
  if (::access("/usr/sbin/cupsd", X_OK) != 0) {
    problem_ = "cupsd is not installed";
    return;
  }
  if (::geteuid() != 0) {
    problem_ = "cupsd runs its backends only for root here, and the tests do not run as root";
    return;
  }
  for (const char* dir : {"spool", "tmp", "cache", "state", "out", "bin/backend"}) {
    fs::create_directories(root_ / dir);
  }
  fs::permissions(root_ / "tmp", fs::perms::all);
  fs::permissions(root_ / "out", fs::perms::all);
  for (const char* dir : {"filter", "cgi-bin", "daemon", "notifier", "monitor", "driver"}) {
    std::error_code ignored;
    fs::create_directory_symlink(fs::path("/usr/lib/cups") / dir, root_ / "bin" / dir, ignored);
  }
  // A backend that keeps the document: a file device with a raw queue writes nothing on CUPS 2.4.
  const fs::path backend = root_ / "bin/backend/capture";
  std::ofstream(backend)
      << "#!/bin/sh\n"
      << "[ $# -eq 0 ] && { echo 'direct capture \"Unknown\" \"Test\"'; exit 0; }\n"
      << "if [ -n \"$6\" ]; then cat \"$6\"; else cat; fi > " << Quote((root_ / "out").string())
      << "/job-$1\n";
  fs::permissions(backend, fs::perms::owner_all);
  std::ofstream(root_ / "cupsd.conf")
      << "Listen " << Server() << "\nLogLevel info\n"
      << "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n";
  std::ofstream(root_ / "cups-files.conf")
      << "ServerRoot " << root_.string() << "\nServerBin " << (root_ / "bin").string()
      << "\nRequestRoot " << (root_ / "spool").string() << "\nTempDir " << (root_ / "tmp").string()
      << "\nCacheDir " << (root_ / "cache").string() << "\nStateDir " << (root_ / "state").string()
      << "\nErrorLog " << (root_ / "error_log").string() << "\nAccessLog "
      << (root_ / "access_log").string() << "\nPageLog " << (root_ / "page_log").string()
      << "\nSandboxing Relaxed\n";
  pid_ = ::fork();
  if (pid_ == 0) {
    ::setsid();
    const std::string conf = (root_ / "cupsd.conf").string();
    const std::string files = (root_ / "cups-files.conf").string();
    ::execl("/usr/sbin/cupsd", "cupsd", "-f", "-c", conf.c_str(), "-s", files.c_str(), nullptr);
    ::_exit(127);
  }
  const std::string env = "CUPS_SERVER=" + Quote(Server()) + " ";
  if (!WaitFor(
          [&] {
            return Run(env + "lpstat -r 2>/dev/null").output.find("is running") !=
                   std::string::npos;
          },
          std::chrono::seconds(10))) {
    problem_ = "the private cupsd did not start";
    return;
  }
  if (Run(env + "lpadmin -p trelvin -E -v capture:/trelvin -m raw 2>/dev/null").status != 0 ||
      Run(env + "lpadmin -d trelvin 2>/dev/null").status != 0) {
    problem_ = "the private cupsd refused the test queue";
  }
}

PrivateCups::~PrivateCups() {
  if (pid_ <= 0) return;
  ::kill(pid_, SIGTERM);
  for (int i = 0; i < 40; ++i) {
    if (::waitpid(pid_, nullptr, WNOHANG) == pid_) return;
    ::usleep(50000);
  }
  ::kill(pid_, SIGKILL);
  ::waitpid(pid_, nullptr, 0);
}

}  // namespace trelvin::e2e
