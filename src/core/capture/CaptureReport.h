#pragma once

#include <set>
#include <string>

#include "core/services/Clock.h"
#include "core/services/Notifications.h"

namespace trelvin {

// What kept a capture from being made or kept.
enum class CaptureFailure {
  kGrab,       // the screen could not be copied (no display, no portal, sharing refused or ended)
  kFolder,     // the capture file could not be written (folder gone, unwritable or full)
  kConverter,  // the converter wrote no JPEG file
  kDiskFull,   // the folder's disk is nearly full: captures pause (the detail is the MB left)
};

// Tells the user through the desktop's notices that captures are being lost, without breaking
// into the game: the first failure of each kind in a capture run, and once more when a capture
// succeeds after a failure was told. A failure every tick thus gives one notice, not one a tick.
// A failure after the recovery was told is told again, since the last word the user had was that
// all is well; a folder that comes and goes gives at most one failure notice a minute.
class CaptureReport {
 public:
  static constexpr double kRetellSeconds = 60.0;

  CaptureReport(Notifications& notifications, Clock& clock)
      : notifications_(notifications), clock_(clock) {}

  // A new capture run: every kind may be told again. `log_path` is named in the notices, so the
  // user knows where the details are.
  void BeginRun(std::string log_path);
  // A capture failed; `detail` says why in the user's words (may be empty).
  void Failed(CaptureFailure kind, const std::string& folder, const std::string& detail);
  // A capture was kept in `folder`.
  void Succeeded(const std::string& folder);

 private:
  void Tell(const std::string& summary, const std::string& body);
  // Seconds since the last failure notice; a day or more when none was told yet.
  double SinceLastFailureTold();

  Notifications& notifications_;
  Clock& clock_;
  std::string log_path_;
  std::set<CaptureFailure> told_;
  bool failing_told_ = false;    // a failure was told and no capture has succeeded since
  bool recovery_told_ = false;   // "saves captures again" was the last thing told
  double failure_told_at_ = -1;  // seconds since midnight of the last failure notice
};

}  // namespace trelvin
