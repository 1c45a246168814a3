// The capture's notice on the real system: a capture folder that cannot be written, on the real
// file service and the real notification area, gives one balloon however many captures fail.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/shell/FormMainSlide.h"
#include "fakes/FakePlatform.h"
#include "os/windows/TestFiles.h"
#include "os/windows/WinApi.h"
#include "os/windows/desktop/WinNotifications.h"
#include "os/windows/files/WinFileSystem.h"

namespace trelvin {
namespace {

struct CountedNotifications : Notifications {
  bool Notify(const std::string& summary, const std::string& body) override {
    results.push_back(balloons.Notify(summary, body));
    return results.back();
  }
  WinNotifications balloons;
  std::vector<bool> results;
};

TEST(WinNotificationsTest, UnwritableCaptureFolderGivesOneBalloon) {
  // A file where the capture folder should be: nothing can be written into it.
  const std::string blocked = test_support::FreshFolder("notifications") + "blocked";
  test_support::WriteBytes(blocked, {'x'});

  fakes::FakePlatform p;
  WinFileSystem files;
  CountedNotifications notifications;
  Services services = p.With(&files, nullptr, &notifications);
  {
    FormMainSlide form(services, "/c");
    form.AppPath = blocked + "\\";
    ASSERT_TRUE(form.hscrCapture.SetValue(1));
    form.btnStart_Click();
    for (int tick = 0; tick < 4; ++tick) form.Timer1_Timer();
  }
  ASSERT_EQ(notifications.results.size(), 1u);
  // Wine's notification area takes the balloon only where its shell runs on a display.
  if (GetEnvironmentVariableW(L"DISPLAY", nullptr, 0) > 0) {
    EXPECT_TRUE(notifications.results[0]);
  }
}

}  // namespace
}  // namespace trelvin
