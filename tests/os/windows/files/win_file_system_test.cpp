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

// The rules every file service keeps are in tests/conformance/file_system_test.cpp; here what only
// Windows has: file names compare without case.
TEST_F(WinFileSystemTest, NamesCompareWithoutCase) {
  Put("a.m3u", "12345");
  EXPECT_EQ(files_.FileLength(dir_ + "A.M3U"), 5);
  EXPECT_TRUE(files_.DeleteFile(dir_ + "A.M3U"));
  EXPECT_EQ(Listing(), std::vector<std::string>{});
}

}  // namespace
}  // namespace trelvin
