// The settings file through QSettings, with the damage a real file can suffer.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "os/linux/app/QtSettingsStore.h"
#include "support/PosixFiles.h"

namespace trelvin {
namespace {

namespace fs = std::filesystem;

class QtSettingsStoreTest : public ::testing::Test {
 protected:
  std::optional<std::string> Read(const std::string& key, const std::string& def = "D") {
    return store_->ReadSetting("Trelvin", "Settings", key, def);
  }
  bool Write(const std::string& key, const std::string& value) {
    return store_->WriteSetting("Trelvin", "Settings", key, value);
  }
  // Writes and saves at once.
  bool WriteNow(const std::string& key, const std::string& value) {
    return Write(key, value) && store_->Save();
  }
  // A new store on the same file, as the next run of the program has.
  std::optional<std::string> ReadAfresh(const std::string& key) {
    return QtSettingsStore(home_).ReadSetting("Trelvin", "Settings", key, "D");
  }
  void Put(const std::string& text) {
    fs::create_directories(fs::path(file_).parent_path());
    std::ofstream(file_, std::ios::binary) << text;
  }
  std::string Contents() { return test_support::ReadFile(file_); }

  test_support::TempDir dir_{"trelvin-settings"};
  const std::string home_ = dir_.path();
  std::unique_ptr<QtSettingsStore> store_ = std::make_unique<QtSettingsStore>(home_);
  std::string file_ = store_->FilePath("Trelvin");
};

TEST_F(QtSettingsStoreTest, LivesInTheXdgPlaceAndRoundTripsText) {
  EXPECT_EQ(file_, home_ + "/Trelvin/Trelvin.conf");
  EXPECT_EQ(Read("Path"), "D");
  ASSERT_TRUE(Write("Path", "/home/u/My Pics, \"odd\"; =x\\y/"));
  ASSERT_TRUE(Write("Music", "1"));
  ASSERT_TRUE(Write("Empty", ""));
  ASSERT_TRUE(store_->Save());
  EXPECT_EQ(ReadAfresh("Path"), "/home/u/My Pics, \"odd\"; =x\\y/");
  EXPECT_EQ(ReadAfresh("Empty"), "");
  EXPECT_EQ(Read("Path"), "/home/u/My Pics, \"odd\"; =x\\y/");
  EXPECT_EQ(Read("Music"), "1");
  EXPECT_EQ(Read("Empty"), "");  // an empty stored text is not a missing key
  EXPECT_NE(Contents().find("[Settings]"), std::string::npos);
  EXPECT_NE(Contents().find("Music=1"), std::string::npos);
  // Only the settings file itself: no temporary file is left.
  EXPECT_EQ(test_support::Names(fs::path(file_).parent_path()).size(), 1u);
}

TEST_F(QtSettingsStoreTest, DamagedFileReadsWhatItCanAndIsReplacedByWritesAFolderNot) {
  Put("[Settings]\nMusic=2\n\x01\x02garbage without equals\n[broken\nRandom=1\n");
  EXPECT_EQ(Read("Music"), "2");
  EXPECT_EQ(Read("CaptureInterval"), "D");
  EXPECT_TRUE(WriteNow("CaptureInterval", "5"));
  EXPECT_EQ(ReadAfresh("CaptureInterval"), "5");
  EXPECT_EQ(ReadAfresh("Music"), "2");
  // A directory in place of the file: defaults, and writes refused.
  fs::remove(file_);
  fs::create_directories(file_);
  store_ = std::make_unique<QtSettingsStore>(home_);
  EXPECT_EQ(Read("Music"), "D");
  EXPECT_FALSE(WriteNow("Music", "1"));
  EXPECT_TRUE(fs::is_directory(file_));
}

TEST_F(QtSettingsStoreTest, BinaryGarbageNeverStopsReadingOrWriting) {
  std::string junk;
  for (int i = 0; i < 4096; ++i) junk += static_cast<char>((i * 37) & 0xFF);
  Put(junk);
  EXPECT_TRUE(Read("Music").has_value());
  EXPECT_TRUE(Write("Music", "1"));
  EXPECT_TRUE(Write("Random", "0"));
  EXPECT_TRUE(store_->Save());
  EXPECT_EQ(ReadAfresh("Music"), "1");
  EXPECT_EQ(ReadAfresh("Random"), "0");
  // The damaged file is kept aside, not destroyed.
  std::ifstream kept(file_ + ".damaged", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), junk);
}

TEST_F(QtSettingsStoreTest, ReadOnlyFileIsKeptAndWritesReportFailure) {
  if (::geteuid() == 0) GTEST_SKIP() << "root ignores file permissions";
  Put("[Settings]\nMusic=0\n");
  fs::permissions(file_, fs::perms::owner_read);
  fs::permissions(fs::path(file_).parent_path(), fs::perms::owner_read | fs::perms::owner_exec);
  EXPECT_EQ(Read("Music"), "0");
  EXPECT_FALSE(WriteNow("Music", "1"));
  EXPECT_EQ(ReadAfresh("Music"), "0");
  fs::permissions(fs::path(file_).parent_path(), fs::perms::owner_all);
}

TEST_F(QtSettingsStoreTest, FileIsReadOnceAndWrittenOnlyBySave) {
  Put("[Settings]\nMusic=2\nRandom=1\n");
  EXPECT_EQ(Read("Music"), "2");
  // Read once: what later reads give comes from that one reading.
  Put("[Settings]\nMusic=0\n");
  EXPECT_EQ(Read("Random"), "1");
  EXPECT_EQ(Read("Music"), "2");
  ASSERT_TRUE(Write("Music", "1"));
  EXPECT_EQ(Read("Music"), "1");
  EXPECT_EQ(Contents(), "[Settings]\nMusic=0\n");
  ASSERT_TRUE(store_->Save());
  EXPECT_EQ(ReadAfresh("Music"), "1");
}

// A write that fails half-way (here the file-size limit, as a full disk would) leaves the old file
// exactly as it was, not a mix of old and new values.
TEST_F(QtSettingsStoreTest, SaveThatFailsHalfWayLeavesTheOldFileIntact) {
  const std::string old = "[Settings]\nMusic=0\nRandom=0\n";
  Put(old);
  EXPECT_EQ(Read("Music"), "0");
  ASSERT_TRUE(Write("Path", "/p/"));
  for (const char* key : {"CompressionLevel", "CaptureInterval", "ShowInterval", "StretchImage",
                          "Music", "Random", "MP3"}) {
    ASSERT_TRUE(Write(key, "1234567890"));
  }
  {
    const test_support::FileSizeLimit limit(64);
    ASSERT_TRUE(limit.ok());
    EXPECT_FALSE(store_->Save());
  }
  EXPECT_EQ(Contents(), old);
  EXPECT_EQ(test_support::Names(fs::path(file_).parent_path()).size(), 1u);
}

}  // namespace
}  // namespace trelvin
