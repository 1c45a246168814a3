// A settings file that is damaged or not a file never stops the program.
#include <gtest/gtest.h>

#include <fstream>

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
    display_.Xdotool("windowactivate --sync " + id);
    display_.Xdotool("key --clearmodifiers alt+F4");
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
  EXPECT_NE(config.find("CompressionLevel=60"), std::string::npos) << config;
  EXPECT_NE(config.find("MP3=0"), std::string::npos) << config;
  std::ifstream kept(home_.ConfigFile().string() + ".damaged", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), junk);
}

TEST_F(SettingsFaultsTest, DirectoryInPlaceOfTheFileIsLeftAlone) {
  fs::create_directories(home_.ConfigFile());
  EXPECT_EQ(OpenAndClose(), 0);
  EXPECT_TRUE(fs::is_directory(home_.ConfigFile()));
}

TEST_F(SettingsFaultsTest, UnwritableConfigurationDirectoryLosesOnlyTheChanges) {
  // A file where the directory should be: nothing can be created there.
  fs::remove_all(home_.Root() / "config");
  std::ofstream(home_.Root() / "config") << "not a directory";
  EXPECT_EQ(OpenAndClose(), 0);
}

}  // namespace
}  // namespace trelvin::e2e
