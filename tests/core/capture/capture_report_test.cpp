// The capture's notices after a recovery, on the fakes' notices and clock.
#include <gtest/gtest.h>

#include <string>

#include "core/capture/CaptureReport.h"
#include "fakes/FakePlatform.h"

namespace trelvin {
namespace {

// After "saves captures again" the user believes all is well: the same failure is told again,
// but a folder that comes and goes gives at most one failure notice a minute, midnight or not.
TEST(CaptureReportTest, AFailureAfterTheRecoveryIsToldAgainAtMostOnceAMinute) {
  fakes::FakeNotifications notifications;
  fakes::FakeClock clock;
  CaptureReport report(notifications, clock);
  report.BeginRun("");
  std::string summaries;
  for (double at : {86380.0, 86390.0, 30.0, 41.0, 45.0, 110.0}) {
    clock.seconds_since_midnight = at;
    report.Failed(CaptureFailure::kFolder, "/caps/", "");
    report.Succeeded("/caps/");
  }
  for (const auto& [summary, body] : notifications.shown) summaries += summary[13];
  EXPECT_EQ(summaries, "cscscs");  // "Trelvin Show cannot save ...", "Trelvin Show saves ... again"
}

}  // namespace
}  // namespace trelvin
