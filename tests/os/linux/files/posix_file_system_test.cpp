// The POSIX file service on a real temporary directory.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "os/linux/files/PosixFileSystem.h"
#include "support/PosixFiles.h"

namespace trelvin {
namespace {

namespace fs = std::filesystem;

class PosixFileSystemTest : public ::testing::Test {
 protected:
  void Write(const std::string& name, const std::string& text) {
    test_support::WriteFile(dir_ + name, text);
  }
  std::string Read(const std::string& name) { return test_support::ReadFile(dir_ + name); }
  test_support::TempDir temp_{"trelvin-fs"};
  const std::string dir_ = temp_.slash();
  PosixFileSystem files_;
};

// The rules every file service keeps are in tests/conformance/file_system_test.cpp; here what only
// POSIX has: links, special files, permission bits, directories renamed under a write.
TEST_F(PosixFileSystemTest, FindFilesFollowsLinksToFilesAndCopyKeepsOnlyThePermissionBits) {
  Write("b.jpg", "1");
  fs::create_directory(dir_ + "dir.jpg");
  ::mkfifo((dir_ + "pipe.jpg").c_str(), 0600);
  fs::create_symlink(dir_ + "b.jpg", dir_ + "link.jpg");
  fs::create_symlink(dir_ + "dir.jpg", dir_ + "dirlink.jpg");
  fs::create_symlink(dir_ + "missing", dir_ + "dangling.jpg");

  auto names = files_.FindFiles(dir_, "*.jpg", 100);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"b.jpg", "link.jpg"}));
  // A copy takes the source's permission bits and nothing more: a set-user-id, set-group-id or
  // sticky picture file gives a plain copy.
  const mode_t old_mask = ::umask(0);
  for (const mode_t mode : {06755, 01644, 0600}) {
    Write("special", "x");
    ASSERT_EQ(::chmod((dir_ + "special").c_str(), mode), 0);
    ASSERT_TRUE(files_.CopyFile(dir_ + "special", dir_ + "copy"));
    struct stat st {};
    ASSERT_EQ(::stat((dir_ + "copy").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, mode & 0777) << std::oct << mode;
  }
  ::umask(old_mask);
}

TEST_F(PosixFileSystemTest, WriteIntoAReadOnlyDirectoryFailsAndLeavesNothing) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only directories";
  fs::create_directory(dir_ + "ro");
  fs::permissions(dir_ + "ro", fs::perms::owner_read | fs::perms::owner_exec);
  EXPECT_FALSE(files_.WriteFile(dir_ + "ro/file", {1}));
  fs::permissions(dir_ + "ro", fs::perms::owner_all);
  EXPECT_TRUE(fs::is_empty(dir_ + "ro"));
}

// The directory moves away (and a file takes its name) while a file is written into it: the file
// is finished whole in the moved directory, or not at all, and no temporary file stays there.
TEST_F(PosixFileSystemTest, ChunkedWriteIntoADirectoryThatMovesAwayLeavesNoTemporary) {
  const std::string text = "first second";
  for (const bool fail : {false, true}) {
    SCOPED_TRACE(fail ? "the write fails" : "the write succeeds");
    fs::create_directory(dir_ + "sub");
    int calls = 0;
    auto producer = [&]() -> std::span<const std::uint8_t> {
      ++calls;
      if (calls == 2) {
        fs::rename(dir_ + "sub", dir_ + "moved");
        Write("sub", "a file now");
        if (fail) throw std::runtime_error("the source failed");
      }
      if (calls > 2) return {};
      const std::size_t half = text.size() / 2;
      return {reinterpret_cast<const std::uint8_t*>(text.data()) + (calls - 1) * half,
              calls == 1 ? half : text.size() - half};
    };
    if (fail) {
      EXPECT_THROW(files_.WriteFileChunks(dir_ + "sub/pic.bmp", producer), std::runtime_error);
      EXPECT_FALSE(fs::exists(dir_ + "moved/pic.bmp"));
    } else {
      EXPECT_TRUE(files_.WriteFileChunks(dir_ + "sub/pic.bmp", producer));
      EXPECT_EQ(Read("moved/pic.bmp"), text);
    }
    EXPECT_EQ(Read("sub"), "a file now");
    EXPECT_TRUE(fs::is_empty(dir_ + "moved") || !fail);
    for (const auto& e : fs::directory_iterator(dir_ + "moved")) {
      EXPECT_NE(e.path().filename().string()[0], '.') << e.path();
    }
    fs::remove_all(dir_ + "moved");
    fs::remove(dir_ + "sub");
  }
}

}  // namespace
}  // namespace trelvin
