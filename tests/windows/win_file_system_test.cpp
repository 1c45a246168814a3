// The file service on the real file system of the test prefix, in a folder of its own.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "os/windows/WinApi.h"
#include "os/windows/WinText.h"
#include "os/windows/files/WinFileSystem.h"

namespace trelvin {
namespace {

class WinFileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    dir_ = Narrow(temp) + "trelvin-files-" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryW(Widen(dir_).c_str(), nullptr);
  }
  void TearDown() override {
    for (const std::string& name : Listing()) DeleteFileW(Widen(dir_ + name).c_str());
    RemoveDirectoryW(Widen(dir_ + "sub.jpg").c_str());
    RemoveDirectoryW(Widen(dir_).c_str());
  }

  void Put(const std::string& name, const std::string& bytes) {
    std::ofstream(std::filesystem::path(Widen(dir_ + name)), std::ios::binary) << bytes;
  }
  std::string Get(const std::string& name) {
    std::ifstream in(std::filesystem::path(Widen(dir_ + name)), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  // Every file in the folder, so that temporary files left behind show.
  std::vector<std::string> Listing() {
    std::vector<std::string> names;
    WIN32_FIND_DATAW data{};
    HANDLE find = FindFirstFileW(Widen(dir_ + "*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
      if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        names.push_back(Narrow(data.cFileName));
    } while (FindNextFileW(find, &data));
    FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
  }

  WinFileSystem files_;
  std::string dir_;
};

TEST_F(WinFileSystemTest, LengthOfFilesButNotOfFoldersOrMissingOnes) {
  Put("a.m3u", "12345");
  Put("empty.m3u", "");
  EXPECT_EQ(files_.FileLength(dir_ + "a.m3u"), 5);
  EXPECT_EQ(files_.FileLength(dir_ + "A.M3U"), 5);  // names compare without case
  EXPECT_EQ(files_.FileLength(dir_ + "empty.m3u"), 0);
  EXPECT_EQ(files_.FileLength(dir_ + "missing.m3u"), std::nullopt);
  EXPECT_EQ(files_.FileLength(dir_), std::nullopt);
  EXPECT_EQ(files_.FileLength(""), std::nullopt);
}

TEST_F(WinFileSystemTest, CopyReplacesWholeAndNeverOntoItself) {
  Put("a.jpg", "picture");
  Put("b.jpg", "an older and longer file");
  EXPECT_TRUE(files_.CopyFile(dir_ + "a.jpg", dir_ + "b.jpg"));
  EXPECT_EQ(Get("b.jpg"), "picture");
  EXPECT_TRUE(files_.CopyFile(dir_ + "a.jpg", dir_ + "Ü new.jpg"));
  EXPECT_EQ(Get("Ü new.jpg"), "picture");
  // The same file, also under another spelling of its name: the copy fails, the file stays.
  EXPECT_FALSE(files_.CopyFile(dir_ + "a.jpg", dir_ + "a.jpg"));
  EXPECT_FALSE(files_.CopyFile(dir_ + "a.jpg", dir_ + "A.JPG"));
  EXPECT_EQ(Get("a.jpg"), "picture");
  EXPECT_FALSE(files_.CopyFile(dir_ + "missing.jpg", dir_ + "c.jpg"));
  EXPECT_EQ(Listing(), (std::vector<std::string>{"a.jpg", "b.jpg", "Ü new.jpg"}));
}

TEST_F(WinFileSystemTest, WritesReplaceTheFileAndLeaveNoTemporaryFile) {
  Put("x.bmp", "old contents that are longer");
  EXPECT_TRUE(files_.WriteFile(dir_ + "x.bmp", {'n', 'e', 'w'}));
  EXPECT_EQ(Get("x.bmp"), "new");
  const std::vector<std::uint8_t> chunk{'a', 'b'};
  int calls = 0;
  EXPECT_TRUE(files_.WriteFileChunks(dir_ + "y.bmp", [&]() -> std::span<const std::uint8_t> {
    return ++calls <= 3 ? std::span<const std::uint8_t>(chunk) : std::span<const std::uint8_t>();
  }));
  EXPECT_EQ(Get("y.bmp"), "ababab");
  // A folder that does not exist: nothing is written anywhere.
  EXPECT_FALSE(files_.WriteFile(dir_ + "no such folder\\z.bmp", {'z'}));
  EXPECT_EQ(Listing(), (std::vector<std::string>{"x.bmp", "y.bmp"}));
  EXPECT_TRUE(files_.DeleteFile(dir_ + "x.bmp"));
  EXPECT_FALSE(files_.DeleteFile(dir_ + "x.bmp"));
}

TEST_F(WinFileSystemTest, FindFilesMatchesWithoutCaseAndSkipsFoldersAndHiddenFiles) {
  Put("one.jpg", "1");
  Put("TWO.JPG", "2");
  Put("three.gif", "3");
  Put("hidden.jpg", "h");
  SetFileAttributesW(Widen(dir_ + "hidden.jpg").c_str(), FILE_ATTRIBUTE_HIDDEN);
  CreateDirectoryW(Widen(dir_ + "sub.jpg").c_str(), nullptr);
  // The system also matches short names ("Y~XXXX.JPG"): a name is listed only when it matches.
  Put("y.jpgx", "y");
  Put("z.jpeg", "z");
  std::vector<std::string> found = files_.FindFiles(dir_, "*.jpg", 100);
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, (std::vector<std::string>{"TWO.JPG", "one.jpg"}));
  // The folder without its trailing "\" names the same folder.
  EXPECT_EQ(files_.FindFiles(dir_.substr(0, dir_.size() - 1), "*.gif", 100),
            (std::vector<std::string>{"three.gif"}));
  EXPECT_EQ(files_.FindFiles(dir_, "*.jpg", 1).size(), 1u);
  EXPECT_TRUE(files_.FindFiles(dir_ + "missing\\", "*.jpg", 100).empty());
  SetFileAttributesW(Widen(dir_ + "hidden.jpg").c_str(), FILE_ATTRIBUTE_NORMAL);
}

// Names as long as a directory entry holds (255 bytes on Wine's host) are written and copied; the
// temporary name beside them is cut between characters, as the wide API needs.
TEST_F(WinFileSystemTest, NamesOfTheLongestLengthAreWrittenAndCopied) {
  const std::string name = std::string(31, 'x') + "\u20ac" + std::string(217, 'x') + ".jpg";
  const std::string copy = std::string(31, 'x') + "\u20ac" + std::string(217, 'y') + ".jpg";
  EXPECT_TRUE(files_.WriteFile(dir_ + name, {'n', 'e', 'w'}));
  EXPECT_TRUE(files_.CopyFile(dir_ + name, dir_ + copy));
  EXPECT_EQ(Get(copy), "new");
  EXPECT_EQ(Listing(), (std::vector<std::string>{name, copy}));
}

}  // namespace
}  // namespace trelvin
