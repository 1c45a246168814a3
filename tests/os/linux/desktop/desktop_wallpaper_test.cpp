// The wallpaper command with an outside tool that hangs: bounded, and the window thread goes on.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>

#include "os/linux/QtTestApp.h"
#include "os/linux/desktop/DesktopWallpaper.h"
#include "support/PosixFiles.h"
#include "support/ScopedEnv.h"

namespace trelvin {
namespace {

namespace fs = std::filesystem;

// Counts the events posted to it.
class Receiver : public QObject {
 public:
  bool event(QEvent* event) override {
    if (event->type() != QEvent::User) return QObject::event(event);
    ++received;
    return true;
  }
  int received = 0;
};

using test_support::ScopedEnv;

TEST(DesktopWallpaperTest, AHangingToolIsStoppedInTimeAndTheWindowThreadGoesOn) {
  QtTestApp();
  const test_support::TempDir temp("trelvin-wallpaper");
  const fs::path dir = temp.path();
  std::ofstream(dir / "gsettings") << "#!/bin/sh\nexec sleep 30\n";
  fs::permissions(dir / "gsettings", fs::perms::owner_all);
  ScopedEnv path("PATH", dir.string() + ":" + std::getenv("PATH"));
  ScopedEnv desktop("XDG_CURRENT_DESKTOP", "GNOME");

  Receiver receiver;
  // A form's timer: its ticks must not run inside the command.
  int ticks = 0;
  QTimer timer;
  timer.setInterval(50);
  QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
  timer.start();
  // Something for the window thread to do while the tool hangs (a repaint, say).
  std::thread poster([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    QCoreApplication::postEvent(&receiver, new QEvent(QEvent::User));
  });
  DesktopWallpaper wallpaper;
  const auto start = std::chrono::steady_clock::now();
  const bool set = wallpaper.SetDeskWallpaper((dir / "wallpaper.bmp").string());
  const auto took = std::chrono::steady_clock::now() - start;
  poster.join();
  const int received_during = receiver.received;
  const int ticks_during = ticks;

  EXPECT_FALSE(set);
  EXPECT_LT(took, std::chrono::milliseconds(DesktopWallpaper::kCommandMs + 1500));
  EXPECT_EQ(received_during, 1) << "the window thread stood still while the tool ran";
  EXPECT_EQ(ticks_during, 0);
}

}  // namespace
}  // namespace trelvin
