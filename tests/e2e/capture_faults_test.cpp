// Timed capture on the real program while the capture directory fails under it: it vanishes, a
// file takes its place, the file system fills up or turns read-only, a file-size limit is hit.
// Capturing goes on, every JPEG file there is whole, and nothing written earlier is lost.
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <thread>

#include "e2e/FakeEmulator.h"
#include "e2e/Harness.h"
#include "support/JpegDecode.h"
#include "support/PosixFiles.h"
#include "support/PrivateBus.h"

namespace trelvin::e2e {
namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;

const std::string kTitle = MainWindowTitlePattern();
// A capture's bitmap: the headers and 480 rows of 640 pixels of 3 bytes.
constexpr std::uintmax_t kBitmapSize = 54 + 640 * 3 * 480;

using test_support::ReadFile;
using test_support::ReadLines;

// The captures of a directory by name, with their contents.
using Captures = std::map<std::string, std::string>;

class CaptureFaultsTest : public CaptureDisplayTest {
 protected:
  // `as_user` runs `executable` through it (setpriv and its arguments).
  void StartCapturing(const std::string& executable = "", std::vector<std::string> as_user = {},
                      const fs::path& into = {}) {
    std::vector<std::string> args = as_user;
    if (!as_user.empty()) args.push_back(executable);
    args.push_back("/c");
    program_ = std::make_unique<Program>(display_, home_, args, env_,
                                         as_user.empty() ? executable : as_user.front());
    std::string& id = window_;
    ASSERT_TRUE(display_.WaitForWindow(kTitle, &id));
    display_.ClickAt(id, 155, 158);  // "&Start"
    ASSERT_TRUE(WaitFor([&] { return Jpegs(into.empty() ? dir_ : into).size() >= 2; },
                        std::chrono::seconds(12)))
        << "capturing did not start";
  }

  // The JPEG files in `dir`; every other entry must be a whole bitmap left by a failed
  // conversion (a file the program made, never a half-written one) or a hidden temporary file
  // of a write under way.
  Captures Jpegs(const fs::path& dir) const {
    Captures captures;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(dir, error)) {
      const std::string name = entry.path().filename();
      if (name == "filler" || name[0] == '.') continue;
      if (std::regex_match(name, std::regex(R"(\d{14}\.jpg)"))) {
        captures[name] = ReadFile(entry.path());
      } else {
        EXPECT_TRUE(std::regex_match(name, std::regex(R"(\d{14}\.bmp)"))) << name;
        // The bitmap of a conversion under way is deleted as soon as its JPEG is in place, so
        // it may be gone by now.
        std::error_code gone;
        const std::uintmax_t size = fs::file_size(entry.path(), gone);
        if (gone) {
          EXPECT_EQ(gone, std::errc::no_such_file_or_directory) << name;
        } else {
          EXPECT_EQ(size, kBitmapSize) << name;
        }
      }
    }
    return captures;
  }

  // Every JPEG file decodes completely to the screen's size and ends where JPEG data ends.
  void ExpectAllWhole(const Captures& captures, const fs::path& dir = {}) {
    for (const auto& [name, bytes] : captures) {
      const auto jpeg = test_support::DecodeJpegFile(((dir.empty() ? dir_ : dir) / name).string());
      EXPECT_TRUE(jpeg.ok && jpeg.width == kWidth && jpeg.height == kHeight) << name;
      ASSERT_GE(bytes.size(), 2u) << name;
      EXPECT_EQ(bytes.substr(bytes.size() - 2), "\xFF\xD9") << name << " is cut short";
    }
  }

  // Everything in `earlier` is still in `dir` with the same bytes.
  void ExpectKept(const Captures& earlier, const fs::path& dir) {
    const Captures now = Jpegs(dir);
    for (const auto& [name, bytes] : earlier) {
      const auto it = now.find(name);
      EXPECT_TRUE(it != now.end() && it->second == bytes) << name << " was lost or changed";
    }
  }

  // A temporary file lives only while its write is under way: none seen now is there a moment
  // later (each write has a name of its own).
  void ExpectNoStrayTemporaries(const fs::path& dir) {
    auto hidden = [&] {
      std::set<std::string> names;
      std::error_code error;
      for (const auto& entry : fs::directory_iterator(dir, error)) {
        if (entry.path().filename().string()[0] == '.') names.insert(entry.path().filename());
      }
      return names;
    };
    const std::set<std::string> before = hidden();
    std::this_thread::sleep_for(milliseconds(700));
    for (const std::string& name : hidden()) EXPECT_EQ(before.count(name), 0u) << name << " stays";
  }

  bool WaitForMore(std::size_t before, std::size_t more) {
    return WaitFor([&] { return Jpegs(dir_).size() >= before + more; }, std::chrono::seconds(12));
  }

  // Applies `fault`, checks that the program survives it without new captures and without
  // losing the earlier ones, undoes it with `repair`, and checks that capturing resumes.
  void Survives(const std::string& what, const std::function<void()>& fault,
                const std::function<void()>& repair, const fs::path& kept_in = {}) {
    SCOPED_TRACE(what);
    const Captures before = Jpegs(dir_);
    ExpectAllWhole(before);
    fault();
    // A capture under way when the fault came may still finish; after that, none may.
    std::this_thread::sleep_for(milliseconds(1200));
    const std::size_t settled = Jpegs(dir_).size();
    std::this_thread::sleep_for(milliseconds(2100));
    ASSERT_TRUE(program_->Running()) << "the program died";
    EXPECT_EQ(Jpegs(dir_).size(), settled) << "the fault did not stop the captures";
    ExpectKept(before, kept_in.empty() ? dir_ : kept_in);
    ExpectNoStrayTemporaries(kept_in.empty() ? dir_ : kept_in);
    repair();
    ExpectKept(before, dir_);
    const Captures after = Jpegs(dir_);
    ASSERT_TRUE(WaitForMore(after.size(), 2)) << "capturing did not resume";
    ExpectAllWhole(Jpegs(dir_));
    ExpectKept(before, dir_);
    ExpectNoStrayTemporaries(dir_);
  }

  std::map<std::string, std::string> env_;
  std::string window_;  // the settings window
  std::unique_ptr<Program> program_;
};

// Installed by the system: an ordinary user who cannot write to the program's directory, with no
// settings, captures into the Trelvin folder of the Pictures folder the user-dirs rules name.
TEST_F(CaptureFaultsTest, UnwritableInstallationCapturesIntoThePicturesFolder) {
  if (::geteuid() != 0) GTEST_SKIP() << "running as another user needs root";
  if (!fs::exists("/usr/bin/setpriv")) GTEST_SKIP() << "setpriv is missing";
  fs::remove(home_.ConfigFile());
  std::ofstream(home_.Root() / "config/user-dirs.dirs") << "XDG_PICTURES_DIR=\"$HOME/Bilder\"\n";
  ASSERT_EQ(e2e::Run("chown -R nobody:nogroup " + Quote(home_.Root().string())).status, 0);
  const fs::path program_dir = home_.Root() / "opt";
  const fs::path exe = InstallProgramCopy(program_dir);  // root's, not writable by nobody
  const fs::path pictures = home_.Root() / "Bilder/Trelvin";
  ASSERT_NO_FATAL_FAILURE(StartCapturing(
      exe.string(), {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"},
      pictures));
  ExpectAllWhole(Jpegs(pictures), pictures);
  for (const auto& entry : fs::directory_iterator(program_dir)) {
    EXPECT_FALSE(entry.path().extension() == ".jpg" || entry.path().extension() == ".bmp")
        << entry.path();
  }
  ASSERT_TRUE(display_.CloseWindow(window_));
  ASSERT_EQ(program_->Wait(), 0);
  EXPECT_NE(home_.ReadConfig().find("Path=" + pictures.string() + "/"), std::string::npos)
      << home_.ReadConfig();
}

// A folder that vanishes under a capture run and comes back: the desktop's notification service
// hears of it exactly twice (failed, saved again) however many ticks fail, no picture is made for
// a failed tick, and the user's log has one line for each.
TEST_F(CaptureFaultsTest, VanishedFolderIsToldOnceAndItsReturnOnce) {
  const fs::path notices = home_.Root() / "notices";
  const test_support::PrivateBus bus(TRELVIN_SESSION_STANDIN, notices.string(), "--notices");
  if (bus.missing()) GTEST_SKIP() << "dbus-daemon is missing";
  ASSERT_TRUE(bus.ok()) << "the stand-in did not start";
  env_["DBUS_SESSION_BUS_ADDRESS"] = bus.address();

  ASSERT_NO_FATAL_FAILURE(StartCapturing());
  // Right after a capture is complete, so no capture is caught half-way.
  const std::size_t before = Jpegs(dir_).size();
  ASSERT_TRUE(WaitForMore(before, 1));
  fs::remove_all(dir_);
  const fs::path log = home_.Root() / ".local/state/Trelvin/trelvin.log";
  auto failed_lines = [&] {
    std::vector<std::string> found;
    for (const std::string& line : ReadLines(log)) {
      if (line.find(dir_.string()) != std::string::npos) found.push_back(line);
    }
    return found;
  };
  ASSERT_TRUE(WaitFor([&] { return failed_lines().size() >= 4; })) << "no failures logged";
  fs::create_directories(dir_);
  ASSERT_TRUE(WaitForMore(0, 3)) << "capturing did not resume";
  ASSERT_TRUE(WaitFor([&] { return ReadLines(notices).size() >= 2; }));
  EXPECT_EQ(ReadLines(notices), (std::vector<std::string>{"Trelvin Show cannot save captures",
                                                          "Trelvin Show saves captures again"}));
  const Captures after = Jpegs(dir_);
  std::set<std::string> stamps;
  const std::regex failed(
      R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d .*: the capture could not be written: .*/(\d{14})\.bmp)");
  for (const std::string& line : failed_lines()) {
    std::smatch match;
    ASSERT_TRUE(std::regex_match(line, match, failed)) << line;
    EXPECT_TRUE(stamps.insert(match[1]).second) << "two lines for one tick: " << line;
    EXPECT_EQ(after.count(match[1].str() + ".jpg"), 0u) << line;
  }
  ASSERT_TRUE(program_->Running());
}

TEST_F(CaptureFaultsTest, VanishedDirectoryFileInItsPlaceAndSizeLimit) {
  ASSERT_NO_FATAL_FAILURE(StartCapturing());
  const fs::path away = home_.Root() / "caps.away";
  Survives(
      "the directory is moved away", [&] { fs::rename(dir_, away); },
      [&] { fs::rename(away, dir_); }, away);
  Survives(
      "a file stands where the directory was",
      [&] {
        fs::rename(dir_, away);
        std::ofstream(dir_) << "not a directory";
      },
      [&] {
        fs::remove(dir_);
        fs::rename(away, dir_);
      },
      away);
  // A limit below the bitmap's size: the writes fail with EFBIG, and the signal that comes with
  // them must not end the program. Only the soft limit changes, so it can be raised again.
  rlimit old_limit{};
  ASSERT_EQ(::prlimit(program_->Pid(), RLIMIT_FSIZE, nullptr, &old_limit), 0);
  Survives(
      "a file-size limit",
      [&] {
        const rlimit small{200 * 1024, old_limit.rlim_max};
        ASSERT_EQ(::prlimit(program_->Pid(), RLIMIT_FSIZE, &small, nullptr), 0);
      },
      [&] { ASSERT_EQ(::prlimit(program_->Pid(), RLIMIT_FSIZE, &old_limit, nullptr), 0); });
}

TEST_F(CaptureFaultsTest, FullAndReadOnlyFileSystem) {
  if (::geteuid() != 0) GTEST_SKIP() << "mounting a small file system needs root";
  // Room for a bitmap and a dozen JPEG files, no more.
  if (e2e::Run("mount -t tmpfs -o size=1400k tmpfs " + Quote(dir_.string()) + " 2>/dev/null")
          .status != 0) {
    GTEST_SKIP() << "a tmpfs could not be mounted here (no CAP_SYS_ADMIN in this container?)";
  }
  struct Unmount {
    fs::path dir;
    ~Unmount() { e2e::Run("umount -l " + Quote(dir.string())); }
  } unmount{dir_};
  ASSERT_NO_FATAL_FAILURE(StartCapturing());
  const fs::path filler = dir_ / "filler";
  Survives(
      "the file system is full",
      [&] {
        const int fd = ::open(filler.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ASSERT_GE(fd, 0);
        static const char block[4096] = {};
        while (::write(fd, block, sizeof block) > 0) {
        }
        ::close(fd);
      },
      [&] { fs::remove(filler); });
  Survives(
      "the file system turns read-only",
      [&] { ASSERT_EQ(e2e::Run("mount -o remount,ro " + Quote(dir_.string())).status, 0); },
      [&] { ASSERT_EQ(e2e::Run("mount -o remount,rw " + Quote(dir_.string())).status, 0); });
}

}  // namespace
}  // namespace trelvin::e2e
