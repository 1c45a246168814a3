// The POSIX file service on a real temporary directory.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "os/linux/files/PosixFileSystem.h"

namespace trelvin {
namespace {

namespace fs = std::filesystem;

class PosixFileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "trelvin-fs-XXXXXX").string();
    dir_ = std::string(::mkdtemp(pattern.data())) + "/";
  }
  void TearDown() override { fs::remove_all(dir_); }
  void Write(const std::string& name, const std::string& text) {
    std::ofstream(dir_ + name, std::ios::binary) << text;
  }
  std::string Read(const std::string& name) {
    std::ifstream in(dir_ + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  std::vector<std::string> Leftovers() {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir_)) {
      if (e.path().filename().string()[0] == '.') names.push_back(e.path().filename());
    }
    return names;
  }
  std::string dir_;
  PosixFileSystem files_;
};

TEST_F(PosixFileSystemTest, FindFilesMatchesCaseInsensitivelyAndSkipsHiddenDirsAndSpecials) {
  Write("a.JPG", "1");
  Write("b.jpg", "1");
  Write("c.jpeg", "1");
  Write(".hidden.jpg", "1");
  Write("d.jpg.txt", "1");
  fs::create_directory(dir_ + "dir.jpg");
  ::mkfifo((dir_ + "pipe.jpg").c_str(), 0600);
  fs::create_symlink(dir_ + "b.jpg", dir_ + "link.jpg");
  fs::create_symlink(dir_ + "dir.jpg", dir_ + "dirlink.jpg");
  fs::create_symlink(dir_ + "missing", dir_ + "dangling.jpg");

  auto names = files_.FindFiles(dir_, "*.jpg", 100);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"a.JPG", "b.jpg", "link.jpg"}));
  EXPECT_EQ(files_.FindFiles(dir_, "*.jpg", 2).size(), 2u);
  EXPECT_TRUE(files_.FindFiles(dir_ + "nope/", "*.jpg", 100).empty());
}

TEST_F(PosixFileSystemTest, FileLengthOfMissingEmptyAndDirectory) {
  Write("empty", "");
  Write("three", "abc");
  EXPECT_EQ(files_.FileLength(dir_ + "empty"), 0);
  EXPECT_EQ(files_.FileLength(dir_ + "three"), 3);
  EXPECT_FALSE(files_.FileLength(dir_ + "missing").has_value());
  EXPECT_FALSE(files_.FileLength(dir_).has_value());
}

TEST_F(PosixFileSystemTest, CopyReplacesWholeAndRefusesToCopyAFileOntoItself) {
  Write("src", "new content");
  Write("dst", "old content that is longer");
  ASSERT_TRUE(files_.CopyFile(dir_ + "src", dir_ + "dst"));
  EXPECT_EQ(Read("dst"), "new content");

  EXPECT_FALSE(files_.CopyFile(dir_ + "src", dir_ + "src"));
  EXPECT_FALSE(files_.CopyFile(dir_ + "src", dir_ + "./src"));
  fs::create_hard_link(dir_ + "src", dir_ + "hard");
  EXPECT_FALSE(files_.CopyFile(dir_ + "src", dir_ + "hard"));
  EXPECT_EQ(Read("src"), "new content");
  EXPECT_TRUE(Leftovers().empty());
}

// A copy takes the source's permission bits and nothing more: a set-user-id, set-group-id or
// sticky picture file gives a plain copy.
TEST_F(PosixFileSystemTest, CopyKeepsOnlyThePermissionBits) {
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

TEST_F(PosixFileSystemTest, FailedCopyAndWriteLeaveNothingBehind) {
  EXPECT_FALSE(files_.CopyFile(dir_ + "missing", dir_ + "dst"));
  EXPECT_FALSE(fs::exists(dir_ + "dst"));
  EXPECT_FALSE(files_.WriteFile(dir_ + "nodir/file", {1, 2, 3}));
  if (::geteuid() != 0) {
    fs::create_directory(dir_ + "ro");
    fs::permissions(dir_ + "ro", fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_FALSE(files_.WriteFile(dir_ + "ro/file", {1}));
    fs::permissions(dir_ + "ro", fs::perms::owner_all);
  }
  ASSERT_TRUE(files_.WriteFile(dir_ + "ok", {'h', 'i'}));
  EXPECT_EQ(Read("ok"), "hi");
  EXPECT_TRUE(Leftovers().empty());
}

TEST_F(PosixFileSystemTest, ChunkedWriteJoinsChunksAndReplacesWhole) {
  Write("big", "old content");
  const std::vector<std::string> chunks{"ab", "cde", "f"};
  std::size_t next = 0;
  auto producer = [&]() -> std::span<const std::uint8_t> {
    if (next == chunks.size()) return {};
    const std::string& c = chunks[next++];
    return {reinterpret_cast<const std::uint8_t*>(c.data()), c.size()};
  };
  ASSERT_TRUE(files_.WriteFileChunks(dir_ + "big", producer));
  EXPECT_EQ(Read("big"), "abcdef");
  next = 0;
  EXPECT_FALSE(files_.WriteFileChunks(dir_ + "nodir/big", producer));
  EXPECT_TRUE(Leftovers().empty());
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

TEST_F(PosixFileSystemTest, DeleteAndExecutableDirectory) {
  Write("x", "1");
  EXPECT_TRUE(files_.DeleteFile(dir_ + "x"));
  EXPECT_FALSE(files_.DeleteFile(dir_ + "x"));
  const std::string exe_dir = files_.ExecutableDirectory();
  ASSERT_FALSE(exe_dir.empty());
  EXPECT_NE(exe_dir.back(), '/');
  EXPECT_TRUE(fs::exists(exe_dir + "/linux_tests"));
}

}  // namespace
}  // namespace trelvin
