// The program as a screen-saver module: it draws into a window that a stand-in daemon made,
// never maps a window of its own, ends with status 0 on SIGTERM and writes no setting.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "e2e/Harness.h"
#include "e2e/SlideShowHelpers.h"
#include "support/PosixFiles.h"
#include "support/SongFiles.h"

namespace trelvin::e2e {
namespace {

namespace fs = std::filesystem;

using test_support::ReadFile;

// The daemon's side: a window at a place of the screen, and the record of other windows mapped.
class SaverWindow {
 public:
  SaverWindow(const VirtualDisplay& display, int x, int y, int width, int height,
              const fs::path& state)
      : state_(state) {
    const std::vector<std::string> argv{TRELVIN_SAVER_WINDOW,   std::to_string(x),
                                        std::to_string(y),      std::to_string(width),
                                        std::to_string(height), state.string()};
    pid_ = Spawn(argv, {{"DISPLAY", display.Name()}});
    WaitFor([&] { return ReadFile(state_).rfind("window ", 0) == 0; });
    std::istringstream in(ReadFile(state_));
    std::string word;
    in >> word >> id_;
  }
  ~SaverWindow() { Close(); }
  // Ends the stand-in, whose window goes with its connection.
  void Close() {
    Stop(pid_);
    pid_ = -1;
  }
  SaverWindow(const SaverWindow&) = delete;
  SaverWindow& operator=(const SaverWindow&) = delete;

  // The window's id as "0x...", empty when it did not come up.
  const std::string& Id() const { return id_; }
  // The windows mapped on the root since this one, one "mapped ID" line each.
  std::string OtherMaps() const {
    std::string text = ReadFile(state_);
    const std::size_t line_end = text.find('\n');
    return line_end == std::string::npos ? "" : text.substr(line_end + 1);
  }

 private:
  fs::path state_;
  pid_t pid_ = -1;
  std::string id_;
};

class ScreenSaverModuleTest : public PinkPictureTest {
 protected:
  // The windows the window manager manages now (none is expected: the stand-in is unmanaged).
  std::string ClientList() const {
    return e2e::Run(display_.Env() + "xprop -root -notype _NET_CLIENT_LIST 2>/dev/null").output;
  }
};

TEST_F(ScreenSaverModuleTest, ShowsInsideTheDaemonsWindowAndEndsCleanlyOnSigterm) {
  // Music on, so SIGTERM has songs and pipelines to stop.
  const fs::path exe = InstallProgramCopy(home_.Root() / "program");
  trelvin::test_support::WriteBytes((home_.Root() / "program/song.mid").string(),
                                    trelvin::test_support::MidiSong(30));
  std::string settings = settings_;
  settings.replace(settings.find("Music=0"), 7, "Music=1");
  home_.WriteConfig(settings);

  SaverWindow saver(display_, 100, 60, 640, 480, home_.Root() / "saver-state");
  ASSERT_FALSE(saver.Id().empty()) << "the stand-in daemon window did not come up";
  Program module(display_, home_, {"-root"}, {{"XSCREENSAVER_WINDOW", saver.Id()}}, exe.string());

  // The 320 x 200 picture centred in the 640 x 480 window at (100, 60): (260, 200) to (579, 399).
  ASSERT_TRUE(WaitForColours(display_, {{{260, 200}, kPink},
                                        {{579, 399}, kPink},
                                        {{259, 200}, kBack},
                                        {{580, 399}, kBack},
                                        {{100, 60}, kBack},
                                        {{739, 539}, kBack}}))
      << "the show did not appear inside the daemon's window";
  const std::string shot = std::string(TRELVIN_BUILD_DIR) + "/e2e-screensaver-window.png";
  e2e::Run("import -display " + display_.Name() + " -window " + saver.Id() + " " + Quote(shot));
  // Nothing outside the window: the show does not cover the screen.
  const Screenshot screen = display_.Capture();
  EXPECT_FALSE(Near(screen.At(99, 59), kBack));
  EXPECT_FALSE(Near(screen.At(740, 540), kBack));
  EXPECT_FALSE(Near(screen.At(1023, 767), kBack));

  EXPECT_EQ(saver.OtherMaps(), "") << "the module mapped a window of its own";
  EXPECT_EQ(ClientList().find("0x"), std::string::npos) << ClientList();

  ASSERT_TRUE(module.Running());
  ::kill(module.Pid(), SIGTERM);
  EXPECT_EQ(module.Wait(), 0);
  EXPECT_EQ(saver.OtherMaps(), "");
  EXPECT_EQ(home_.ReadConfig(), settings) << "a screen saver must not write the settings";
}

// xscreensaver starts one module per monitor, and the user may be capturing meanwhile: no module
// is stopped by another one or by the running program, as none of them takes the instance lock.
TEST_F(ScreenSaverModuleTest, AModulePerMonitorEachShowsWhileACaptureRuns) {
  // The capturing program has settings of its own (its captures are not the show's pictures) but
  // the same runtime directory, where the instance lock lives.
  const fs::path capture_config = home_.Root() / "capture-config";
  fs::create_directories(capture_config / "Trelvin");
  std::ofstream(capture_config / "Trelvin/Trelvin.conf")
      << "[Settings]\nPath=" << (home_.Root() / "captures").string() << "\nCaptureInterval=1\n";
  fs::create_directories(home_.Root() / "captures");
  Program capturing(display_, home_, {"/c"}, {{"XDG_CONFIG_HOME", capture_config.string()}});
  std::string id;
  ASSERT_TRUE(display_.WaitForWindow(MainWindowTitlePattern(), &id));
  display_.Xdotool("windowactivate --sync " + id);
  display_.Xdotool("mousemove --window " + id + " 155 158 click 1");  // "&Start"
  ASSERT_TRUE(WaitFor([&] { return display_.Iconic(id); }));

  SaverWindow left(display_, 0, 0, 512, 768, home_.Root() / "left-state");
  SaverWindow right(display_, 512, 0, 512, 768, home_.Root() / "right-state");
  ASSERT_FALSE(left.Id().empty() || right.Id().empty());
  Program first(display_, home_, {"-window-id", left.Id()});
  Program second(display_, home_, {"-root"}, {{"XSCREENSAVER_WINDOW", right.Id()}});
  // The 320 x 200 picture in the middle of each half: x 96 to 415 and 608 to 927, y 284 to 483.
  ASSERT_TRUE(WaitForColours(display_, {{{96, 284}, kPink},
                                        {{415, 483}, kPink},
                                        {{95, 284}, kBack},
                                        {{608, 284}, kPink},
                                        {{927, 483}, kPink},
                                        {{928, 483}, kBack}}))
      << "not every monitor shows the show";
  display_.SavePng(std::string(TRELVIN_BUILD_DIR) + "/e2e-screensaver-two-monitors.png");
  // The capture goes on beside them: its first picture is due a second after the start.
  EXPECT_TRUE(WaitFor([&] { return !fs::is_empty(home_.Root() / "captures"); }));
  EXPECT_TRUE(first.Running());
  EXPECT_TRUE(second.Running());
  EXPECT_TRUE(capturing.Running());

  ::kill(first.Pid(), SIGTERM);
  ::kill(second.Pid(), SIGTERM);
  EXPECT_EQ(first.Wait(), 0);
  EXPECT_EQ(second.Wait(), 0);
  EXPECT_EQ(home_.ReadConfig(), settings_) << "a screen saver must not write the settings";
  EXPECT_TRUE(capturing.Running());
}

TEST_F(ScreenSaverModuleTest, WindowIdArgumentFillsASmallPreview) {
  SaverWindow preview(display_, 300, 200, 200, 150, home_.Root() / "preview-state");
  ASSERT_FALSE(preview.Id().empty());
  Program module(display_, home_, {"-window-id", preview.Id()});

  // The picture is larger than the preview: centred, it covers all of it and nothing more.
  ASSERT_TRUE(WaitForColours(display_, {{{300, 200}, kPink}, {{499, 349}, kPink}}))
      << "the show did not fill the preview window";
  const Screenshot screen = display_.Capture();
  EXPECT_FALSE(Near(screen.At(299, 199), kPink));
  EXPECT_FALSE(Near(screen.At(500, 350), kPink));
  EXPECT_EQ(preview.OtherMaps(), "");

  ::kill(module.Pid(), SIGTERM);
  EXPECT_EQ(module.Wait(), 0);
  EXPECT_EQ(home_.ReadConfig(), settings_);
}

TEST_F(ScreenSaverModuleTest, EndsWhenTheDaemonsWindowGoesAway) {
  SaverWindow saver(display_, 0, 0, 400, 300, home_.Root() / "saver-state");
  ASSERT_FALSE(saver.Id().empty());
  Program module(display_, home_, {}, {{"XSCREENSAVER_WINDOW", saver.Id()}});
  ASSERT_TRUE(WaitForColours(display_, {{{40, 50}, kPink}, {{0, 0}, kBack}}));

  // No signal: the window is simply destroyed, as by a daemon that crashed.
  saver.Close();
  EXPECT_EQ(module.Wait(), 0) << "the module outlived its window";
  EXPECT_EQ(home_.ReadConfig(), settings_);
}

TEST_F(ScreenSaverModuleTest, RootWithoutADaemonCoversTheScreenUnmanaged) {
  Program module(display_, home_, {"-root"});

  ASSERT_TRUE(WaitForColours(display_, kCentredPink)) << "the show did not cover the screen";
  // Drawn on the root: the window manager frames nothing and lists nothing.
  EXPECT_EQ(ClientList().find("0x"), std::string::npos) << ClientList();
  ::kill(module.Pid(), SIGTERM);
  EXPECT_EQ(module.Wait(), 0);
  EXPECT_EQ(home_.ReadConfig(), settings_);
}

TEST_F(ScreenSaverModuleTest, AWindowThatIsNotThereIsAClearFailure) {
  fs::remove(home_.ConfigFile());
  SaverWindow watch(display_, 0, 0, 10, 10, home_.Root() / "watch-state");
  ASSERT_FALSE(watch.Id().empty());
  // An id no client owns, one that is not a number, and a variable that names no window.
  Program missing(display_, home_, {"-window-id", "0x1fffff0"});
  EXPECT_EQ(missing.Wait(), 1);
  Program junk(display_, home_, {"-window-id", "screen"});
  EXPECT_EQ(junk.Wait(), 2);
  Program bad_variable(display_, home_, {"--root"}, {{"XSCREENSAVER_WINDOW", "none"}});
  EXPECT_EQ(bad_variable.Wait(), 2);
  EXPECT_EQ(watch.OtherMaps(), "");
  EXPECT_FALSE(fs::exists(home_.ConfigFile()));
}

}  // namespace
}  // namespace trelvin::e2e
