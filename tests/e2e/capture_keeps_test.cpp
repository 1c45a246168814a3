// A kept capture run on the real program, with stand-ins for the notification-area watcher and
// the screen saver on a session bus of the test's own: unchanged screens skipped, nothing at the
// lock screen, the display held awake only while capturing, the icon registered and steered.
#include <signal.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>

#include "e2e/Harness.h"
#include "support/PosixFiles.h"
#include "support/PrivateBus.h"

namespace trelvin::e2e {
namespace {

namespace fs = std::filesystem;
using std::chrono::seconds;

using test_support::ReadLines;

TEST(CaptureKeepsTest, SkipsStillScreensPausesWhenLockedAndIsSteeredFromItsIcon) {
  VirtualDisplay display(640, 480);
  if (!display.ok()) GTEST_SKIP() << "Xvfb with openbox could not be started";
  if (e2e::Run("command -v dbus-daemon && command -v dbus-send").status != 0)
    GTEST_SKIP() << "no dbus tools";
  TestHome home;
  const fs::path dir = home.Root() / "caps";
  fs::create_directories(dir);
  home.WriteConfig("[Settings]\nPath=" + dir.string() +
                   "/\nCaptureInterval=1\nMusic=0\nSkipUnchanged=1\n");
  e2e::Run(display.Env() + "xsetroot -solid '#336699'");
  const fs::path record = home.Root() / "record";
  const test_support::PrivateBus bus(TRELVIN_SESSION_STANDIN, record.string());
  ASSERT_TRUE(bus.ok()) << "the stand-ins did not start";
  auto recorded = [&](const std::string& line) {
    const auto lines = ReadLines(record);
    return std::count(lines.begin(), lines.end(), line);
  };
  auto jpegs = [&] {
    std::size_t n = 0;
    for (const auto& entry : fs::directory_iterator(dir)) n += entry.path().extension() == ".jpg";
    return n;
  };

  Program program(display, home, {"/c"}, {{"DBUS_SESSION_BUS_ADDRESS", bus.address()}});
  std::string window;
  ASSERT_TRUE(display.WaitForWindow(MainWindowTitlePattern(), &window));
  display.ClickAt(window, 155, 158);  // "&Start"

  // The icon comes with the run, under a name of its own on the bus.
  std::string item;
  ASSERT_TRUE(WaitFor([&] {
    for (const std::string& line : ReadLines(record)) {
      if (line.rfind("registered ", 0) == 0) item = line.substr(11);
    }
    return !item.empty();
  })) << "no icon was registered";
  auto ask = [&](const std::string& path_and_call) {
    return e2e::Run(bus.OnBus() + "dbus-send --session --print-reply --dest=" + item + " " +
                    path_and_call)
        .output;
  };
  auto tooltip = [&] {
    return ask(
        "/StatusNotifierItem org.freedesktop.DBus.Properties.Get "
        "string:org.kde.StatusNotifierItem string:ToolTip");
  };
  EXPECT_EQ(recorded("inhibit 1"), 1) << "the display is not kept awake while capturing";

  // A still screen: one picture, then only skipped ticks.
  ASSERT_TRUE(WaitFor([&] { return tooltip().find("1 taken, 3 skipped") != std::string::npos; }))
      << tooltip();
  EXPECT_EQ(jpegs(), 1u);
  e2e::Run(display.Env() + "xsetroot -solid '#993366'");
  ASSERT_TRUE(WaitFor([&] { return jpegs() == 2; }, seconds(15)));

  // Locked: the display may sleep, and however the screen changes nothing is written.
  bus.Signal(SIGUSR1);
  ASSERT_TRUE(WaitFor([&] { return recorded("uninhibit 1") == 1; })) << "not released at the lock";
  ASSERT_TRUE(WaitFor(
      [&] { return tooltip().find("paused: the session is locked") != std::string::npos; }));
  e2e::Run(display.Env() + "xsetroot -solid '#669933'");
  EXPECT_FALSE(WaitFor([&] { return jpegs() > 2; }, seconds(3))) << "a capture of the lock screen";
  bus.Signal(SIGUSR2);
  ASSERT_TRUE(WaitFor([&] { return jpegs() == 3; }, seconds(15))) << "no capture after the unlock";
  EXPECT_EQ(recorded("inhibit 2"), 1);

  // The menu's Stop, picked through the item's exported menu: released, and the icon gone.
  const std::string layout =
      ask("/MenuBar com.canonical.dbusmenu.GetLayout int32:0 int32:-1 array:string:");
  std::smatch stop;
  ASSERT_TRUE(
      std::regex_search(layout, stop, std::regex(R"(int32 (\d+)\s+array \[[^\]]*?string "_Stop")")))
      << layout;
  ask("/MenuBar com.canonical.dbusmenu.Event int32:" + stop[1].str() +
      " string:clicked variant:int32:0 uint32:0");
  EXPECT_TRUE(WaitFor([&] { return recorded("uninhibit 2") == 1; })) << "not released at Stop";
  EXPECT_TRUE(WaitFor([&] { return recorded("gone " + item) == 1; })) << "the icon stayed";
  ASSERT_TRUE(display.CloseWindow(window));
  ASSERT_EQ(program.Wait(), 0);
  EXPECT_NE(home.ReadConfig().find("SkipUnchanged=1"), std::string::npos) << home.ReadConfig();
}

}  // namespace
}  // namespace trelvin::e2e
