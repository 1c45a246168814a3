// The settings window and the run modes, on the real program.
#include <gtest/gtest.h>

#include <signal.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <thread>

#include "e2e/Harness.h"

namespace trelvin::e2e {
namespace {

const std::string kTitle = MainWindowTitlePattern();

std::string Geometry(const VirtualDisplay& display, const std::string& id) {
  return display.Xdotool("getwindowgeometry " + id).output;
}

class SettingsWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!display_.ok()) GTEST_SKIP() << "Xvfb with openbox could not be started";
  }
  VirtualDisplay display_{1024, 768};
  TestHome home_;
};

TEST_F(SettingsWindowTest, ConfigureSwitchShowsWindowAndClosingWritesAllEight) {
  home_.WriteConfig(
      "[Settings]\nPath=/srv/pics\nCompressionLevel=75\nCaptureInterval=700\nShowInterval=25\n"
      "StretchImage=1\nMusic=2\nRandom=x\nMP3=1\n");
  Program program(display_, home_, {"/c"});
  std::string id;
  ASSERT_TRUE(display_.WaitForWindow(kTitle, &id));
  EXPECT_NE(Geometry(display_, id).find("Geometry: 278x173"), std::string::npos)
      << Geometry(display_, id);
  // Give the window a moment to paint, then keep a screenshot to look at.
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  display_.SavePng(std::string(TRELVIN_BUILD_DIR) + "/e2e-settings-window.png");
  // The program's icon (its 16 and 32 pixel pictures) reaches the window manager.
  const CommandResult icon = e2e::Run(display_.Env() + "xprop -id " + id + " _NET_WM_ICON");
  EXPECT_NE(icon.output.find("Icon (32 x 32)"), std::string::npos) << icon.output;

  display_.CloseWindow(id);
  ASSERT_EQ(program.Wait(), 0);

  // Refused values keep the control's initial 1; no playlist, so MP3 is written as 0.
  const std::string config = home_.ReadConfig();
  for (const char* line :
       {"Path=/srv/pics/\n", "CompressionLevel=75\n", "CaptureInterval=1\n", "ShowInterval=25\n",
        "StretchImage=1\n", "Music=2\n", "Random=0\n", "MP3=0\n"}) {
    EXPECT_NE(config.find(line), std::string::npos) << line << config;
  }
}

// One instance per user, whatever the executable's path: an installed and a portable copy share
// the settings. The preview switch ends at once too, and neither writes anything.
TEST_F(SettingsWindowTest, SecondInstanceAndPreviewSwitchEndAtOnce) {
  Program preview(display_, home_, {"/P", "1234"});
  EXPECT_EQ(preview.Wait(), 0);
  Program first(display_, home_, {"/c"});
  ASSERT_TRUE(display_.WaitForWindow(kTitle));
  const std::filesystem::path copy = InstallProgramCopy(home_.Root() / "portable");
  Program second(display_, home_, {"/c"}, {}, copy.string());
  EXPECT_EQ(second.Wait(), 0);
  EXPECT_FALSE(std::filesystem::exists(home_.ConfigFile()));
  EXPECT_TRUE(first.Running());
}

// Log-off, a service manager or a closed terminal: SIGTERM or SIGHUP closes the window as its close
// button does. A setting changed in the window reaches the file, the capture run ends, and no
// BMP or temporary file is left behind.
TEST_F(SettingsWindowTest, TerminationSignalsEndTheRunAsAClosingWindowDoes) {
  for (const int signal : {SIGTERM, SIGHUP}) {
    SCOPED_TRACE(signal);
    TestHome home;
    const std::filesystem::path captures = home.Root() / "captures";
    std::filesystem::create_directories(captures);
    home.WriteConfig("[Settings]\nPath=" + captures.string() +
                     "\nStretchImage=0\nShowInterval=25\n");
    Program program(display_, home, {"/c"});
    std::string id;
    ASSERT_TRUE(display_.WaitForWindow(kTitle, &id));
    display_.Xdotool("windowactivate --sync " + id);
    display_.Xdotool("mousemove --window " + id + " 20 134 click 1");  // chkStretch
    // "&Start": the window goes to the task bar once both clicks have been handled, in order.
    display_.Xdotool("mousemove --window " + id + " 155 158 click 1");
    ASSERT_TRUE(WaitFor([&] { return display_.Iconic(id); }));
    ASSERT_TRUE(WaitFor([&] { return !std::filesystem::is_empty(captures); }));
    ::kill(program.Pid(), signal);
    ASSERT_EQ(program.Wait(), 0);
    const std::string config = home.ReadConfig();
    for (const char* line : {"StretchImage=1\n", "ShowInterval=25\n", "MP3=0\n"})
      EXPECT_NE(config.find(line), std::string::npos) << line << config;
    for (const auto& dir : {captures, home.ConfigFile().parent_path()}) {
      for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        EXPECT_TRUE(name.ends_with(".jpg") || name == "Trelvin.conf") << name;
      }
    }
  }
}

TEST_F(SettingsWindowTest, DirectoryButtonChoosesTheCaptureDirectoryInAFolderDialog) {
  const std::filesystem::path chosen = home_.Root() / "My Captures";
  std::filesystem::create_directories(chosen);
  Program program(display_, home_, {});
  std::string id;
  ASSERT_TRUE(display_.WaitForWindow(kTitle, &id));
  display_.Xdotool("windowactivate --sync " + id);
  // "Directory..." is at (211, 41, 62, 20) in the client area.
  display_.Xdotool("mousemove --window " + id + " 240 50 click 1");
  std::string dialog;
  ASSERT_TRUE(display_.WaitForWindow("^Select the directory to store the captures$", &dialog));
  display_.Xdotool("windowactivate --sync " + dialog);
  display_.Xdotool("key --clearmodifiers ctrl+a");
  display_.Xdotool("type --delay 5 " + Quote(chosen.string()));
  display_.Xdotool("key Return");
  ASSERT_TRUE(WaitFor([&] { return display_.FindWindow("^Select the directory").empty(); }));

  display_.CloseWindow(id);
  ASSERT_EQ(program.Wait(), 0);
  EXPECT_NE(home_.ReadConfig().find("Path=" + chosen.string() + "/\n"), std::string::npos)
      << home_.ReadConfig();
}

TEST_F(SettingsWindowTest, CreditsAndPathLabelsOpenThroughTheDesktop) {
  // A stand-in for xdg-open that records what it was asked to open.
  const std::filesystem::path bin = home_.Root() / "bin";
  const std::filesystem::path opened = home_.Root() / "opened.txt";
  std::filesystem::create_directories(bin);
  {
    std::ofstream script(bin / "xdg-open");
    script << "#!/bin/sh\nprintf '%s\\n' \"$1\" >> " << Quote(opened.string()) << "\n";
  }
  std::filesystem::permissions(bin / "xdg-open", std::filesystem::perms::owner_all);
  const std::filesystem::path pics = home_.Root() / "pics";
  std::filesystem::create_directories(pics);
  home_.WriteConfig("[Settings]\nPath=" + pics.string() + "\n");

  Program program(display_, home_, {"/c"},
                  {{"PATH", bin.string() + ":" + std::string(std::getenv("PATH"))}});
  std::string id;
  ASSERT_TRUE(display_.WaitForWindow(kTitle, &id));
  display_.Xdotool("windowactivate --sync " + id);
  display_.Xdotool("mousemove --window " + id + " 20 161 click 1");  // lblCredits
  display_.Xdotool("mousemove --window " + id + " 20 70 click --repeat 2 --delay 80 1");  // lblPath
  ASSERT_TRUE(WaitFor([&] {
    std::ifstream in(opened);
    return std::count(std::istreambuf_iterator<char>(in), {}, '\n') >= 2;
  }));
  std::ifstream in(opened);
  std::string credits, path;
  std::getline(in, credits);
  std::getline(in, path);
  EXPECT_TRUE(std::filesystem::exists(credits)) << credits;
  EXPECT_NE(credits.find("about/index.html"), std::string::npos);
  EXPECT_EQ(path, pics.string() + "/");
}

}  // namespace
}  // namespace trelvin::e2e
