// A settings file that is damaged or not a file never stops the program.
#include <gtest/gtest.h>

#include <sys/inotify.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <utility>

#include "e2e/Harness.h"

namespace trelvin::e2e {
namespace {

namespace fs = std::filesystem;

const std::string kTitle = MainWindowTitlePattern();

class SettingsFaultsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!display_.ok()) GTEST_SKIP() << "Xvfb with openbox could not be started";
  }
  // Opens the settings window, closes it, and returns the program's exit status.
  int OpenAndClose() {
    Program program(display_, home_, {"/c"});
    std::string id;
    if (!display_.WaitForWindow(kTitle, &id)) return -100;
    display_.CloseWindow(id);
    return program.Wait();
  }
  VirtualDisplay display_{800, 600};
  TestHome home_;
};

TEST_F(SettingsFaultsTest, GarbageFileIsKeptAsideAndReplacedWithTheSettings) {
  std::string junk;
  for (int i = 0; i < 2000; ++i) junk += static_cast<char>((i * 131) & 0xFF);
  fs::create_directories(home_.ConfigFile().parent_path());
  std::ofstream(home_.ConfigFile(), std::ios::binary) << junk;
  ASSERT_EQ(OpenAndClose(), 0);
  const std::string config = home_.ReadConfig();
  for (const char* line : {"CompressionLevel=60\n", "MP3=0\n"})
    EXPECT_NE(config.find(line), std::string::npos) << line << config;
  std::ifstream kept(home_.ConfigFile().string() + ".damaged", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), junk);
}

TEST_F(SettingsFaultsTest,
       DirectoryInPlaceOfTheFileIsLeftAloneAndAnUnwritableFolderLosesOnlyTheChanges) {
  fs::create_directories(home_.ConfigFile());
  EXPECT_EQ(OpenAndClose(), 0);
  EXPECT_TRUE(fs::is_directory(home_.ConfigFile()));
  // A file where the directory should be: nothing can be created there.
  fs::remove_all(home_.Root() / "config");
  std::ofstream(home_.Root() / "config") << "not a directory";
  EXPECT_EQ(OpenAndClose(), 0);
}

// Watches a directory with inotify and counts what happened to one name in it.
class DirectoryWatch {
 public:
  DirectoryWatch(const fs::path& dir, std::string name) : name_(std::move(name)) {
    fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    // Closes are watched too, only so that the kernel does not merge one opening with the next.
    ::inotify_add_watch(fd_, dir.c_str(), IN_CREATE | IN_MOVED_TO | IN_OPEN | IN_CLOSE);
  }
  ~DirectoryWatch() { ::close(fd_); }
  bool ok() const { return fd_ >= 0; }
  // Takes the events that have arrived: new files under the name (created or renamed onto it)
  // and openings of it.
  void Drain() {
    alignas(inotify_event) char buffer[65536];
    ssize_t n;
    while ((n = ::read(fd_, buffer, sizeof buffer)) > 0) {
      for (char* p = buffer; p < buffer + n;) {
        const auto* event = reinterpret_cast<const inotify_event*>(p);
        if (event->len > 0 && name_ == event->name) {
          if (event->mask & (IN_CREATE | IN_MOVED_TO)) ++replacements;
          if (event->mask & IN_OPEN) ++opens;
        }
        p += sizeof(inotify_event) + event->len;
      }
    }
  }
  int replacements = 0;
  int opens = 0;

 private:
  int fd_ = -1;
  std::string name_;
};

TEST_F(SettingsFaultsTest, StartReadsTheFileOnceAndCloseReplacesItOnce) {
  home_.WriteConfig("[Settings]\nPath=/srv/pics/\nCompressionLevel=75\nMusic=0\n");
  DirectoryWatch watch(home_.ConfigFile().parent_path(), home_.ConfigFile().filename());
  ASSERT_TRUE(watch.ok());
  Program program(display_, home_, {"/c"});
  std::string id;
  ASSERT_TRUE(display_.WaitForWindow(kTitle, &id));
  watch.Drain();
  EXPECT_EQ(watch.opens, 1);
  EXPECT_EQ(watch.replacements, 0);
  display_.CloseWindow(id);
  ASSERT_EQ(program.Wait(), 0);
  watch.Drain();
  // All eight values reached the file in one replacement: never a mix of old and new.
  EXPECT_EQ(watch.replacements, 1);
  const std::string config = home_.ReadConfig();
  for (const char* line : {"CompressionLevel=75\n", "MP3=0\n"})
    EXPECT_NE(config.find(line), std::string::npos) << line << config;
}

}  // namespace
}  // namespace trelvin::e2e
