// The capture's notices: each kind of failure once a run, and the recovery.
#include "core/capture/CaptureReport.h"

#include <utility>

#include "core/base/Guard.h"

namespace trelvin {

void CaptureReport::BeginRun(std::string log_path) {
  log_path_ = std::move(log_path);
  told_.clear();
  failing_told_ = false;
  recovery_told_ = false;
}

void CaptureReport::Failed(CaptureFailure kind, const std::string& folder,
                           const std::string& detail) {
  if (!told_.insert(kind).second) {
    // Told already in this run: again only when the user has since heard that all is well, and
    // not sooner than a minute after the last failure notice. Till then a capture that works
    // again tells nothing, as this failure was never told.
    if (!recovery_told_ || SinceLastFailureTold() < kRetellSeconds) return;
  }
  failing_told_ = true;
  recovery_told_ = false;
  Step([&] { failure_told_at_ = clock_.SecondsSinceMidnight(); });
  switch (kind) {
    case CaptureFailure::kGrab:
      Tell("Trelvin Show cannot copy the screen",
           (detail.empty() ? std::string("The screen could not be copied.") : detail) +
               " No pictures are saved until it can be.");
      return;
    case CaptureFailure::kFolder:
      Tell("Trelvin Show cannot save captures",
           "The folder " + folder +
               " is missing, read-only or full. Capturing goes on and saves again as soon as the "
               "folder can be written.");
      return;
    case CaptureFailure::kConverter:
      Tell("Trelvin Show cannot convert captures",
           "A capture could not be made into a JPEG file in " + folder +
               " (is the folder full?). Its bitmap file is kept there.");
      return;
    case CaptureFailure::kDiskFull:
      Tell("Trelvin Show paused captures", "the disk holding " + folder + " is nearly full: " +
                                               detail + " MB left; captures paused");
      return;
  }
}

void CaptureReport::Succeeded(const std::string& folder) {
  if (!failing_told_) return;
  failing_told_ = false;
  recovery_told_ = true;
  Tell("Trelvin Show saves captures again", "Captures are saved in " + folder + " again.");
}

double CaptureReport::SinceLastFailureTold() {
  constexpr double kDay = 24 * 60 * 60;
  if (failure_told_at_ < 0) return kDay;
  double now = failure_told_at_;
  Step([&] { now = clock_.SecondsSinceMidnight(); });
  // Across midnight the clock starts again from 0; a clock set back counts as a day gone by.
  const double since = now - failure_told_at_;
  return since < 0 ? since + kDay : since;
}

void CaptureReport::Tell(const std::string& summary, const std::string& body) {
  const std::string details = log_path_.empty() ? "" : " Details: " + log_path_;
  Step([&] {
    Require(notifications_.Notify(summary, body + details), "the desktop took no notification");
  });
}

}  // namespace trelvin
