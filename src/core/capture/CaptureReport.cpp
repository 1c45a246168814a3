// The capture's notices: each kind of failure once a run, and the recovery.
#include "core/capture/CaptureReport.h"

#include <utility>

#include "core/base/Guard.h"

namespace trelvin {

void CaptureReport::BeginRun(std::string log_path) {
  log_path_ = std::move(log_path);
  told_.clear();
  failing_told_ = false;
}

void CaptureReport::Failed(CaptureFailure kind, const std::string& folder,
                           const std::string& detail) {
  if (!told_.insert(kind).second) return;
  failing_told_ = true;
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
  Tell("Trelvin Show saves captures again", "Captures are saved in " + folder + " again.");
}

void CaptureReport::Tell(const std::string& summary, const std::string& body) {
  const std::string details = log_path_.empty() ? "" : " Details: " + log_path_;
  Step([&] {
    Require(notifications_.Notify(summary, body + details), "the desktop took no notification");
  });
}

}  // namespace trelvin
