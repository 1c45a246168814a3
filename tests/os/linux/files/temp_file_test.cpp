// The shared temporary-file writer on a real directory: whole or nothing.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <string>
#include <vector>

#include "atomicfile/TempFile.h"
#include "core/base/BmpFile.h"
#include "support/PosixFiles.h"
#include "trelvin_jpeg.h"

namespace {

// The writer's calls to the C library, seen by defining umask, fsync and fdatasync in this
// executable, which the writer's calls (the converter library's included) then reach instead of
// the C library's.
std::mutex calls_mutex;
int umask_calls = 0;
std::vector<std::string> synced;  // what each flush flushed, as /proc/self/fd names it

void NoteFlush(int fd) {
  char target[4096] = {};
  const ssize_t n =
      ::readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), target, sizeof target - 1);
  std::lock_guard lock(calls_mutex);
  synced.emplace_back(target, n > 0 ? static_cast<std::size_t>(n) : 0);
}

}  // namespace

extern "C" mode_t umask(mode_t mask) {
  {
    std::lock_guard lock(calls_mutex);
    ++umask_calls;
  }
  return static_cast<mode_t>(::syscall(SYS_umask, mask));
}

extern "C" int fsync(int fd) {
  NoteFlush(fd);
  return static_cast<int>(::syscall(SYS_fsync, fd));
}

extern "C" int fdatasync(int fd) {
  NoteFlush(fd);
  return static_cast<int>(::syscall(SYS_fdatasync, fd));
}

namespace trelvin {
namespace {

namespace fs = std::filesystem;

class TempFileTest : public ::testing::Test {
 protected:
  void SetUp() override { test_support::WriteFile(dir_ + "a.jpg", "old"); }
  std::string Read(const std::string& name) { return test_support::ReadFile(dir_ + name); }
  std::vector<std::string> Names() { return test_support::Names(dir_); }
  test_support::TempDir temp_{"trelvin-temp"};
  const std::string dir_ = temp_.slash();
};

TEST_F(TempFileTest, UncommittedWriteLeavesTheTargetAndAMissingDirectoryOrNameFailsEveryStep) {
  {
    TempFile temp(dir_ + "a.jpg");
    ASSERT_TRUE(temp.ok());
    ASSERT_TRUE(temp.Write("new", 3));
    // Written beside the target, hidden, while the target still holds the old bytes.
    EXPECT_EQ(Names().size(), 2u);
    EXPECT_EQ(Read("a.jpg"), "old");
  }
  EXPECT_EQ(Names(), (std::vector<std::string>{"a.jpg"}));
  EXPECT_EQ(Read("a.jpg"), "old");
  // A missing directory or name fails every step.
  for (const std::string& target : {dir_ + "missing/a.jpg", dir_}) {
    TempFile temp(target);
    EXPECT_FALSE(temp.ok()) << target;
    EXPECT_FALSE(temp.Write("x", 1)) << target;
    EXPECT_FALSE(temp.Commit()) << target;
  }
  EXPECT_EQ(Names(), (std::vector<std::string>{"a.jpg"}));
}

TEST_F(TempFileTest, CommitReplacesTheTargetWholeWithTheGivenPermissions) {
  TempFile temp(dir_ + "a.jpg");
  ASSERT_TRUE(temp.Write("first ", 6));
  ASSERT_TRUE(temp.Write("second", 6));
  ASSERT_TRUE(temp.Commit(0640));
  EXPECT_EQ(Read("a.jpg"), "first second");
  EXPECT_EQ(Names(), (std::vector<std::string>{"a.jpg"}));
  struct stat st {};
  ASSERT_EQ(::stat((dir_ + "a.jpg").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  // Nothing more can be written or committed once it is in place.
  EXPECT_FALSE(temp.Write("x", 1));
  EXPECT_FALSE(temp.Commit());
}

// The new file's mode comes from the umask without ever setting it (a race with every other
// thread), and a plain commit flushes nothing.
TEST_F(TempFileTest, CommitReadsTheUmaskWithoutSettingIt) {
  const mode_t old_mask = ::umask(027);
  {
    std::lock_guard lock(calls_mutex);
    umask_calls = 0;
    synced.clear();
  }
  TempFile temp(dir_ + "a.jpg");
  ASSERT_TRUE(temp.Write("new", 3));
  ASSERT_TRUE(temp.Commit());
  struct stat st {};
  ASSERT_EQ(::stat((dir_ + "a.jpg").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  {
    std::lock_guard lock(calls_mutex);
    EXPECT_EQ(umask_calls, 0);
    EXPECT_TRUE(synced.empty());
  }
  ::umask(old_mask);
}

// The converter's JPEG is on the disk, with its name, when BmpToJpeg returns (the caller deletes
// the BMP next): the file is flushed under its temporary name, then the directory.
TEST_F(TempFileTest, TheConvertersJpegIsFlushedWithItsDirectory) {
  Bitmap image;
  image.Resize(16, 8, MakeRgb(10, 20, 30));
  test_support::WriteFile(dir_ + "a.bmp", EncodeBmp24(image));
  {
    std::lock_guard lock(calls_mutex);
    synced.clear();
  }
  ASSERT_EQ(BmpToJpeg((dir_ + "a.bmp").c_str(), (dir_ + "b.jpg").c_str(), 50), 0);
  std::lock_guard lock(calls_mutex);
  const std::string dir = fs::canonical(dir_).string();
  ASSERT_EQ(synced.size(), 2u);
  EXPECT_EQ(synced[0].rfind(dir + "/.b.jpg.", 0), 0u) << synced[0];
  EXPECT_EQ(synced[1], dir);
}

}  // namespace
}  // namespace trelvin
