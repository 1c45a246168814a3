// The Linux desktop's half of the run's video: a notice's action taken at the notification
// service runs on the interface thread, and the background maker's end reaches it there too.
#include <gtest/gtest.h>
#include <signal.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QMetaObject>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "os/linux/desktop/DBusActionNotifications.h"
#include "video/BackgroundVideoMaker.h"

namespace trelvin {
namespace {

namespace fs = std::filesystem;

std::string Output(const std::string& command) {
  std::string text;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return text;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, pipe)) text += buffer;
  ::pclose(pipe);
  return text;
}

// Runs Qt's events until `done` holds or a minute has passed.
template <typename F>
bool ProcessEventsUntil(F done) {
  QDeadlineTimer deadline(60000);
  while (!done() && !deadline.hasExpired()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
  }
  return done();
}

TEST(ActionNotificationsTest, TakenActionRunsOnTheInterfaceThread) {
  if (Output("command -v dbus-daemon").empty()) GTEST_SKIP() << "dbus-daemon is missing";
  const fs::path dir = fs::temp_directory_path() / "trelvin-action-notices";
  fs::remove_all(dir);
  fs::create_directories(dir);
  const std::string bus = Output("dbus-daemon --session --fork --print-address=1 --print-pid=1");
  const std::string address = bus.substr(0, bus.find('\n'));
  const pid_t bus_pid = std::atoi(bus.substr(bus.find('\n') + 1).c_str());
  struct Stop {
    pid_t pid;
    ~Stop() { ::kill(pid, SIGTERM); }
  } stop_bus{bus_pid};
  ASSERT_FALSE(address.empty()) << bus;
  ::setenv("DBUS_SESSION_BUS_ADDRESS", address.c_str(), 1);
  const fs::path notices = dir / "notices";
  const std::string standin =
      Output(std::string(TRELVIN_NOTIFICATION_STANDIN) + " '" + notices.string() +
             "' --take-actions >/dev/null 2>&1 & echo $!");
  Stop stop_standin{std::atoi(standin.c_str())};
  static int argc = 1;
  static char name[] = "video_desktop_tests";
  static char* argv[] = {name, nullptr};
  QCoreApplication app(argc, argv);
  ASSERT_TRUE(ProcessEventsUntil([&] { return fs::exists(notices); }));

  DBusActionNotifications notifications;
  video::BackgroundVideoMaker maker([](std::function<void()> job) {
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(job), Qt::QueuedConnection);
  });
  const std::thread::id interface_thread = std::this_thread::get_id();
  bool taken = false;
  std::optional<VideoOutcome> outcome;
  ASSERT_TRUE(notifications.NotifyWithAction("12 pictures — Make a video", "", "Make a video", [&] {
    EXPECT_EQ(std::this_thread::get_id(), interface_thread);
    taken = true;
    // An empty folder: the maker's answer still comes back here, with its reason.
    maker.Start({dir.string() + "/", "", "", 12}, nullptr, [&](const VideoOutcome& o) {
      EXPECT_EQ(std::this_thread::get_id(), interface_thread);
      outcome = o;
    });
  }));
  ASSERT_TRUE(ProcessEventsUntil([&] { return outcome.has_value(); })) << "taken: " << taken;
  EXPECT_FALSE(outcome->made);
  EXPECT_NE(outcome->reason.find("no pictures"), std::string::npos) << outcome->reason;
  fs::remove_all(dir);
}

}  // namespace
}  // namespace trelvin
