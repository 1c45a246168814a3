// The settings file through QSettings, with the damage a real file can suffer.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/linux/QtSettingsStore.h"

namespace trelvin {
namespace {

namespace fs = std::filesystem;

class QtSettingsStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "trelvin-settings-XXXXXX").string();
    home_ = ::mkdtemp(pattern.data());
    store_ = std::make_unique<QtSettingsStore>(home_);
    file_ = store_->FilePath("Trelvin");
  }
  void TearDown() override {
    std::error_code e;
    fs::permissions(home_, fs::perms::owner_all, e);
    fs::remove_all(home_, e);
  }
  std::optional<std::string> Read(const std::string& key, const std::string& def = "D") {
    return store_->ReadSetting("Trelvin", "Settings", key, def);
  }
  bool Write(const std::string& key, const std::string& value) {
    return store_->WriteSetting("Trelvin", "Settings", key, value);
  }
  void Put(const std::string& text) {
    fs::create_directories(fs::path(file_).parent_path());
    std::ofstream(file_, std::ios::binary) << text;
  }
  std::string Contents() {
    std::ifstream in(file_, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }

  std::string home_;
  std::string file_;
  std::unique_ptr<QtSettingsStore> store_;
};

TEST_F(QtSettingsStoreTest, LivesInTheXdgPlaceAndRoundTripsText) {
  EXPECT_EQ(file_, home_ + "/Trelvin/Trelvin.conf");
  EXPECT_EQ(Read("Path"), "D");
  ASSERT_TRUE(Write("Path", "/home/u/My Pics, \"odd\"; =x\\y/"));
  ASSERT_TRUE(Write("Music", "1"));
  ASSERT_TRUE(Write("Empty", ""));
  EXPECT_EQ(Read("Path"), "/home/u/My Pics, \"odd\"; =x\\y/");
  EXPECT_EQ(Read("Music"), "1");
  EXPECT_EQ(Read("Empty"), "");  // an empty stored text is not a missing key
  EXPECT_NE(Contents().find("[Settings]"), std::string::npos);
  EXPECT_NE(Contents().find("Music=1"), std::string::npos);
}

TEST_F(QtSettingsStoreTest, DamagedFileReadsWhatItCanAndIsReplacedByWrites) {
  Put("[Settings]\nMusic=2\n\x01\x02garbage without equals\n[broken\nRandom=1\n");
  EXPECT_EQ(Read("Music"), "2");
  EXPECT_EQ(Read("CaptureInterval"), "D");
  EXPECT_TRUE(Write("CaptureInterval", "5"));
  EXPECT_EQ(Read("CaptureInterval"), "5");
  EXPECT_EQ(Read("Music"), "2");
}

TEST_F(QtSettingsStoreTest, BinaryGarbageNeverStopsReadingOrWriting) {
  std::string junk;
  for (int i = 0; i < 4096; ++i) junk += static_cast<char>((i * 37) & 0xFF);
  Put(junk);
  EXPECT_TRUE(Read("Music").has_value());
  EXPECT_TRUE(Write("Music", "1"));
  EXPECT_TRUE(Write("Random", "0"));
  EXPECT_EQ(Read("Music"), "1");
  EXPECT_EQ(Read("Random"), "0");
  // The damaged file is kept aside, not destroyed.
  std::ifstream kept(file_ + ".damaged", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), junk);
}

TEST_F(QtSettingsStoreTest, DirectoryInPlaceOfTheFileReadsDefaultsAndRefusesWrites) {
  fs::create_directories(file_);
  EXPECT_EQ(Read("Music"), "D");
  EXPECT_FALSE(Write("Music", "1"));
  EXPECT_TRUE(fs::is_directory(file_));
}

TEST_F(QtSettingsStoreTest, ReadOnlyFileIsKeptAndWritesReportFailure) {
  if (::geteuid() == 0) GTEST_SKIP() << "root ignores file permissions";
  Put("[Settings]\nMusic=0\n");
  fs::permissions(file_, fs::perms::owner_read);
  fs::permissions(fs::path(file_).parent_path(), fs::perms::owner_read | fs::perms::owner_exec);
  EXPECT_EQ(Read("Music"), "0");
  EXPECT_FALSE(Write("Music", "1"));
  EXPECT_EQ(Read("Music"), "0");
  fs::permissions(fs::path(file_).parent_path(), fs::perms::owner_all);
}

TEST_F(QtSettingsStoreTest, WritesLeaveNoTemporaryFiles) {
  for (int i = 0; i < 8; ++i) ASSERT_TRUE(Write("K" + std::to_string(i), std::to_string(i)));
  int entries = 0;
  // Only the settings file itself.
  for (const auto& e : fs::directory_iterator(fs::path(file_).parent_path())) {
    (void)e;
    ++entries;
  }
  EXPECT_EQ(entries, 1);
}

}  // namespace
}  // namespace trelvin
