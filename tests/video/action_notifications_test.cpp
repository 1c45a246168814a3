// The Linux desktop's half of the run's video: a notice's action taken at the notification
// service runs on the interface thread, and the background maker's end reaches it there too.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QMetaObject>

#include <cstdlib>
#include <optional>
#include <string>
#include <thread>

#include "os/linux/desktop/DBusActionNotifications.h"
#include "support/PosixFiles.h"
#include "support/PrivateBus.h"
#include "video/BackgroundVideoMaker.h"

namespace trelvin {
namespace {

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
  const test_support::TempDir dir("trelvin-action-notices");
  const test_support::PrivateBus bus(TRELVIN_SESSION_STANDIN, dir.slash() + "notices",
                                     "--take-actions");
  if (bus.missing()) GTEST_SKIP() << "dbus-daemon is missing";
  ASSERT_TRUE(bus.ok()) << "the stand-in did not start";
  ::setenv("DBUS_SESSION_BUS_ADDRESS", bus.address().c_str(), 1);
  static int argc = 1;
  static char name[] = "video_desktop_tests";
  static char* argv[] = {name, nullptr};
  QCoreApplication app(argc, argv);

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
    maker.Start({dir.slash(), "", "", 12}, nullptr, [&](const VideoOutcome& o) {
      EXPECT_EQ(std::this_thread::get_id(), interface_thread);
      outcome = o;
    });
  }));
  ASSERT_TRUE(ProcessEventsUntil([&] { return outcome.has_value(); })) << "taken: " << taken;
  EXPECT_FALSE(outcome->made);
  EXPECT_NE(outcome->reason.find("no pictures"), std::string::npos) << outcome->reason;
}

}  // namespace
}  // namespace trelvin
