#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "core/base/Bitmap.h"
#include "core/base/Types.h"
#include "core/capture/CaptureReport.h"
#include "core/services/DiskSpace.h"
#include "core/services/DisplayInhibit.h"
#include "core/services/Services.h"
#include "core/services/SessionPresence.h"
#include "core/services/TrayIcon.h"

namespace trelvin {

// The services a capture run needs beyond the forms' own, handed to the settings window.
struct CaptureKeepServices {
  DiskSpace& disk;
  SessionPresence& presence;
  DisplayInhibit& inhibit;
  TrayIcon& icon;
};

// Why a running capture writes nothing for now; several may hold at once.
enum PauseReason : unsigned {
  kPausedByUser = 1,
  kPausedSessionAway = 2,  // locked, or another session is in front
  kPausedDiskFull = 4,
};

// The free space a capture leaves at least: the smaller of this and 1% of the file system.
constexpr std::int64_t kDiskFloorBytes = 200LL * 1024 * 1024;

// What keeps a capture run worth having: unchanged screens skipped, pauses (the user's, the lock
// screen's, a nearly full disk), the display kept awake while capturing, the counters, and the
// notification-area icon that shows and steers the run.
class CaptureKeeper {
 public:
  // A video of the run, made by another part of the program: its menu item is enabled while
  // `available` says so, and picking it calls `make` with the run's folder.
  struct VideoHook {
    std::function<bool()> available;
    std::function<void(const std::string& folder)> make;
  };

  CaptureKeeper(Services& services, CaptureKeepServices& keep, CaptureReport& report);

  // A run starts writing into `folder` every `interval` seconds: counters at zero, the first grab
  // always written, the display held awake, the icon shown.
  void BeginRun(const std::string& folder, int interval);
  // The run ends (stop or unload): the display may sleep, the icon goes.
  void EndRun();
  bool Running() const { return running_; }

  // Each timer tick: brings the pause reasons up to date (the session's at every tick, the disk's
  // when `due`), with the display hold and the icon. `ticks_left` is the count until the next
  // capture. True when a due capture may go on.
  bool Tick(bool due, int ticks_left);
  // After a grab (in the canvas, or where the desktop grab holds it): true when it is to be
  // skipped as unchanged (then counted as skipped).
  bool SkipGrab(const PixelView& grab);
  // A capture of `grab` was kept as a JPEG file of `jpeg_bytes`: the next grabs are compared with
  // it, and the disk floor counts with JPEG files of its size.
  void Written(const Bitmap& grab, std::int64_t jpeg_bytes);

  // The menu's commands; Stop and the video go to their owners.
  void Command(TrayCommand command);
  void SetPausedByUser(bool paused);
  // A video is being made: `done` of `total` pictures, shown in the tooltip while the run goes on;
  // done == total ends the line.
  void VideoProgress(int done, int total);

  bool skip_unchanged = false;  // the SkipUnchanged setting
  std::function<void()> on_stop;
  VideoHook video;

  unsigned Reasons() const { return reasons_; }
  int Taken() const { return taken_; }
  int Skipped() const { return skipped_; }
  // The icon's state as it is now.
  TrayIconState IconState() const;

 private:
  void SetReason(unsigned reason, bool on);
  bool CheckDisk();
  bool CountSkipped();  // always true
  void Apply();

  Services& services_;
  CaptureKeepServices& keep_;
  CaptureReport& report_;
  std::string folder_;
  int interval_ = 1;
  int ticks_left_ = 0;
  bool running_ = false;
  unsigned reasons_ = 0;
  bool held_ = false;
  std::optional<TrayIconState> shown_;
  bool no_tray_logged_ = false;
  Bitmap last_;                  // the last picture written this run; empty before the first
  std::int64_t jpeg_bytes_ = 0;  // the largest JPEG file of this run
  int taken_ = 0;
  int skipped_ = 0;
  std::string video_line_;  // the video's progress, while one is being made
};

}  // namespace trelvin
