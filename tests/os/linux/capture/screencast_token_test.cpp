// The screen-cast restore token's file: written whole or not at all, readable by its owner only,
// and a damaged file read as no token.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "os/linux/capture/ScreenCastToken.h"
#include "support/PosixFiles.h"

namespace trelvin {
namespace {

namespace fs = std::filesystem;

class ScreenCastTokenTest : public ::testing::Test {
 protected:
  void WriteRaw(const std::string& bytes) {
    fs::create_directories(fs::path(path_).parent_path());
    std::ofstream(path_, std::ios::binary) << bytes;
  }
  std::size_t EntriesInFolder() {
    return test_support::Names(fs::path(path_).parent_path()).size();
  }

  test_support::TempDir temp_{"trelvin-token"};
  const fs::path dir_ = temp_.path();
  std::string path_ = (dir_ / "Trelvin" / "screencast.token").string();
};

TEST_F(ScreenCastTokenTest, SavedTokenIsReadBackOnlyItsOwnerMayReadItAndANewOneReplacesTheFile) {
  ScreenCastToken token(path_);
  EXPECT_FALSE(token.Load().has_value());  // nothing saved yet; the folder is made on save
  const mode_t old_mask = umask(0);        // a permissive umask must not widen the mode
  const bool saved = token.Save("0f6c3b1e-91a2-4c1d-8a77-2b9d2f1e0a55");
  umask(old_mask);
  ASSERT_TRUE(saved);
  EXPECT_EQ(token.Load(), "0f6c3b1e-91a2-4c1d-8a77-2b9d2f1e0a55");
  struct stat info {};
  ASSERT_EQ(stat(path_.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  EXPECT_EQ(EntriesInFolder(), 1u);  // no temporary file left beside it

  // A new token replaces the file rather than rewriting it: a reader holding the old file still
  // sees it whole, as the new one is a different file renamed over it.
  std::ifstream reader(path_);
  ASSERT_TRUE(token.Save("second-token"));
  std::string old_text;
  std::getline(reader, old_text);
  EXPECT_EQ(old_text, "0f6c3b1e-91a2-4c1d-8a77-2b9d2f1e0a55");
  struct stat after {};
  ASSERT_EQ(stat(path_.c_str(), &after), 0);
  EXPECT_NE(info.st_ino, after.st_ino);
  EXPECT_EQ(token.Load(), "second-token");
  EXPECT_EQ(EntriesInFolder(), 1u);
}

TEST_F(ScreenCastTokenTest, FailedSaveKeepsTheOldToken) {
  ScreenCastToken token(path_);
  ASSERT_TRUE(token.Save("kept-token"));
  EXPECT_FALSE(token.Save(""));
  EXPECT_FALSE(token.Save("two words"));
  EXPECT_FALSE(token.Save(std::string(600, 'a')));
  EXPECT_EQ(token.Load(), "kept-token");
  // A folder that cannot hold the file: a plain file stands where the folder should be.
  const std::string blocked = (dir_ / "blocked").string();
  std::ofstream(blocked) << "x";
  EXPECT_FALSE(ScreenCastToken(blocked + "/Trelvin/screencast.token").Save("t"));
}

TEST_F(ScreenCastTokenTest, DamagedFileIsNoToken) {
  ScreenCastToken token(path_);
  for (const std::string& damaged :
       {std::string(), std::string("\n"), std::string("abc\ndef\n"), std::string("a b"),
        std::string("tok\0en", 6), std::string("\xff\xfe\x01token"), std::string(2000, 'x')}) {
    WriteRaw(damaged);
    EXPECT_FALSE(token.Load().has_value()) << damaged.size() << " bytes";
  }
  WriteRaw("good-token\n");
  EXPECT_EQ(token.Load(), "good-token");
  WriteRaw("no-newline-token");
  EXPECT_EQ(token.Load(), "no-newline-token");
  fs::remove(path_);
  fs::create_directory(path_);  // a folder in the file's place
  EXPECT_FALSE(token.Load().has_value());
}

TEST_F(ScreenCastTokenTest, DefaultPathLiesBesideTheSettingsFile) {
  const char* old_config = std::getenv("XDG_CONFIG_HOME");
  const char* old_home = std::getenv("HOME");
  const std::string saved_config = old_config ? old_config : "";
  const std::string saved_home = old_home ? old_home : "";
  setenv("HOME", "/home/u", 1);
  setenv("XDG_CONFIG_HOME", "/cfg", 1);
  EXPECT_EQ(ScreenCastToken::DefaultPath(), "/cfg/Trelvin/screencast.token");
  setenv("XDG_CONFIG_HOME", "relative/cfg", 1);  // invalid: ignored
  EXPECT_EQ(ScreenCastToken::DefaultPath(), "/home/u/.config/Trelvin/screencast.token");
  unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(ScreenCastToken::DefaultPath(), "/home/u/.config/Trelvin/screencast.token");
  if (old_config) setenv("XDG_CONFIG_HOME", saved_config.c_str(), 1);
  if (old_home) setenv("HOME", saved_home.c_str(), 1);
}

}  // namespace
}  // namespace trelvin
