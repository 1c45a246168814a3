// The rules every file service keeps, checked on each system's real files (POSIX, Win32 under
// Wine): listings match without case and list only plain visible files, copies and writes
// replace a file whole or not at all and leave no temporary file, a file is never copied onto
// itself, and the program's directory holds the program.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <span>

#include "conformance/FileSystemDriver.h"
#include "core/base/PathRules.h"

namespace trelvin::conformance {
namespace {

namespace fs = std::filesystem;

class FileSystemTest : public ::testing::Test {
 protected:
  Folder folder_;
  const std::string& dir_ = folder_.path;
  std::unique_ptr<FileSystem> service_ = MakeFileSystem();
  FileSystem& files_ = *service_;
};

TEST_F(FileSystemTest, FindFilesMatchesWithoutCaseAndListsOnlyVisiblePlainFiles) {
  folder_.Put("one.jpg", "1");
  folder_.Put("TWO.JPG", "2");
  folder_.Put("three.gif", "3");
  // Windows also matches short names ("Y~XXXX.JPG") against the pattern.
  folder_.Put("y.jpgx", "y");
  folder_.Put("z.jpeg", "z");
  folder_.Put("d.jpg.txt", "d");
  PutHidden(dir_);
  fs::create_directory(Utf8(dir_ + "sub.jpg"));
  std::vector<std::string> found = files_.FindFiles(dir_, "*.jpg", 100);
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, (std::vector<std::string>{"TWO.JPG", "one.jpg"}));
  // The folder without its trailing separator names the same folder.
  EXPECT_EQ(files_.FindFiles(dir_.substr(0, dir_.size() - 1), "*.gif", 100),
            (std::vector<std::string>{"three.gif"}));
  EXPECT_EQ(files_.FindFiles(dir_, "*.jpg", 1).size(), 1u);
  EXPECT_TRUE(files_.FindFiles(dir_ + "missing" + Separator(), "*.jpg", 100).empty());
}

TEST_F(FileSystemTest, LengthOfFilesButNotOfFoldersOrMissingOnes) {
  folder_.Put("a.m3u", "12345");
  folder_.Put("empty.m3u", "");
  EXPECT_EQ(files_.FileLength(dir_ + "a.m3u"), 5);
  for (const std::string& same : SameFile(dir_, "a.m3u")) {
    EXPECT_EQ(files_.FileLength(same), 5) << same;
  }
  EXPECT_EQ(files_.FileLength(dir_ + "empty.m3u"), 0);
  EXPECT_EQ(files_.FileLength(dir_ + "missing.m3u"), std::nullopt);
  EXPECT_EQ(files_.FileLength(dir_), std::nullopt);
  EXPECT_EQ(files_.FileLength(""), std::nullopt);
}

TEST_F(FileSystemTest, CopyReplacesWholeAndNeverOntoItself) {
  folder_.Put("a.jpg", "picture");
  folder_.Put("b.jpg", "an older and longer file");
  EXPECT_TRUE(files_.CopyFile(dir_ + "a.jpg", dir_ + "b.jpg"));
  EXPECT_EQ(folder_.Get("b.jpg"), "picture");
  EXPECT_TRUE(files_.CopyFile(dir_ + "a.jpg", dir_ + "Ü new.jpg"));
  EXPECT_EQ(folder_.Get("Ü new.jpg"), "picture");
  // The same file, also under another of its names: the copy fails, the file stays.
  EXPECT_FALSE(files_.CopyFile(dir_ + "a.jpg", dir_ + "a.jpg"));
  for (const std::string& same : SameFile(dir_, "a.jpg")) {
    EXPECT_FALSE(files_.CopyFile(dir_ + "a.jpg", same)) << same;
  }
  EXPECT_EQ(folder_.Get("a.jpg"), "picture");
  EXPECT_FALSE(files_.CopyFile(dir_ + "missing.jpg", dir_ + "c.jpg"));
  EXPECT_EQ(folder_.Names(), (std::vector<std::string>{"a.jpg", "b.jpg", "Ü new.jpg"}));
}

TEST_F(FileSystemTest, WritesReplaceTheFileWholeAndLeaveNoTemporaryFile) {
  folder_.Put("x.bmp", "old contents that are longer");
  EXPECT_TRUE(files_.WriteFile(dir_ + "x.bmp", {'n', 'e', 'w'}));
  EXPECT_EQ(folder_.Get("x.bmp"), "new");
  const std::vector<std::string> chunks{"ab", "cde", "f"};
  std::size_t next = 0;
  auto producer = [&]() -> std::span<const std::uint8_t> {
    if (next == chunks.size()) return {};
    const std::string& c = chunks[next++];
    return {reinterpret_cast<const std::uint8_t*>(c.data()), c.size()};
  };
  folder_.Put("y.bmp", "old content");
  EXPECT_TRUE(files_.WriteFileChunks(dir_ + "y.bmp", producer));
  EXPECT_EQ(folder_.Get("y.bmp"), "abcdef");
  // A folder that does not exist: nothing is written anywhere.
  const std::string nowhere = dir_ + "no such folder" + Separator();
  EXPECT_FALSE(files_.WriteFile(nowhere + "z.bmp", {'z'}));
  next = 0;
  EXPECT_FALSE(files_.WriteFileChunks(nowhere + "z.bmp", producer));
  EXPECT_EQ(folder_.Names(), (std::vector<std::string>{"x.bmp", "y.bmp"}));
  // Deleted by another of its names, once.
  const std::string other_name = SameFile(dir_, "x.bmp").front();
  EXPECT_TRUE(files_.DeleteFile(other_name));
  EXPECT_FALSE(files_.DeleteFile(dir_ + "x.bmp"));
  EXPECT_EQ(folder_.Names(), (std::vector<std::string>{"y.bmp"}));
}

// The forms join the program's directory with the build's separator: it is the system's, and the
// directory, without a separator at its end, holds this program.
TEST_F(FileSystemTest, ExecutableDirectoryHoldsThisProgram) {
  EXPECT_EQ(kPathSeparator, Separator());
  const std::string exe_dir = files_.ExecutableDirectory();
  ASSERT_FALSE(exe_dir.empty());
  EXPECT_NE(exe_dir.back(), kPathSeparator);
  EXPECT_TRUE(fs::exists(Utf8(JoinPath(exe_dir, ProgramName(), kPathSeparator))));
}

// Names as long as a directory entry holds (255 bytes) are written and copied: the temporary name
// beside them is shortened, never the target, and cut between characters.
TEST_F(FileSystemTest, NamesOfTheLongestLengthAreWrittenAndCopied) {
  const std::string name = std::string(31, 'x') + "\u20ac" + std::string(217, 'x') + ".jpg";
  const std::string copy = std::string(31, 'x') + "\u20ac" + std::string(217, 'y') + ".jpg";
  EXPECT_TRUE(files_.WriteFile(dir_ + name, {'n', 'e', 'w'}));
  EXPECT_TRUE(files_.CopyFile(dir_ + name, dir_ + copy));
  EXPECT_EQ(folder_.Get(copy), "new");
  EXPECT_EQ(folder_.Names(), (std::vector<std::string>{name, copy}));
}

}  // namespace
}  // namespace trelvin::conformance
