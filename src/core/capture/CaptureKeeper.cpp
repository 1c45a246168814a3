// The rules of a kept capture run: skipping, pausing, the disk floor, the display hold, the icon.
#include "core/capture/CaptureKeeper.h"

#include <algorithm>
#include <source_location>
#include <string>

#include "core/base/Guard.h"
#include "core/capture/ScreenChange.h"

namespace trelvin {

namespace {

constexpr std::int64_t kMegabyte = 1024 * 1024;

// What one capture needs on the disk at its peak: the 24-bit BMP of the screen and its JPEG
// beside it. The JPEG is reckoned at twice the largest of this run (capped at the BMP's size), or
// before the first at half the BMP's size: a screen's JPEG is far smaller, only noise at the
// highest levels comes near. Should one still not fit, its writer leaves nothing half-written.
std::int64_t OneCaptureBytes(Size screen, std::int64_t largest_jpeg) {
  const std::int64_t stride =
      (static_cast<std::int64_t>(std::max(screen.width, 0)) * 3 + 3) / 4 * 4;
  const std::int64_t bmp = 54 + stride * std::max(screen.height, 0);
  return bmp + (largest_jpeg > 0 ? std::min(2 * largest_jpeg, bmp) : bmp / 2);
}

// One line in the user's log: the run's pauses are told there, never as a notice.
void Log(const char* what, std::source_location where = std::source_location::current()) {
  TraceSwallowedFailure(where, what);
}

}  // namespace

CaptureKeeper::CaptureKeeper(Services& services, CaptureKeepServices& keep, CaptureReport& report)
    : services_(services), keep_(keep), report_(report) {
  keep_.icon.on_command = [this](TrayCommand command) { Command(command); };
}

void CaptureKeeper::BeginRun(const std::string& folder, int interval) {
  folder_ = folder;
  interval_ = interval;
  ticks_left_ = 0;
  running_ = true;
  reasons_ = 0;
  last_ = Bitmap{};
  jpeg_bytes_ = 0;
  taken_ = 0;
  skipped_ = 0;
  Apply();
}

void CaptureKeeper::EndRun() {
  running_ = false;
  reasons_ = 0;
  last_ = Bitmap{};
  Apply();
}

bool CaptureKeeper::Tick(bool due, int ticks_left) {
  if (!running_) return true;
  ticks_left_ = std::max(ticks_left, 0);
  bool away = false;
  Step([&] { away = keep_.presence.Away(); });
  if (away != ((reasons_ & kPausedSessionAway) != 0)) {
    Log(away ? "captures paused: the session is locked or not the active one"
             : "captures resumed: the session is back");
  }
  SetReason(kPausedSessionAway, away);
  // The disk is asked only when a capture is due, and while it holds the run paused.
  if (due && !(reasons_ & (kPausedByUser | kPausedSessionAway))) {
    SetReason(kPausedDiskFull, !CheckDisk());
  }
  Apply();
  return reasons_ == 0;
}

// True when the folder's file system has room for one more capture above its floor. A file
// system that cannot be asked is let be: the writers report a failed write themselves.
bool CaptureKeeper::CheckDisk() {
  std::optional<DiskUsage> usage;
  Step([&] { usage = keep_.disk.SpaceOf(folder_); });
  if (!usage) return true;
  Size screen{};
  Step([&] { screen = services_.runtime.ScreenSize(); });
  const std::int64_t floor = std::min(kDiskFloorBytes, usage->total_bytes / 100);
  const bool room = usage->free_bytes >= floor + OneCaptureBytes(screen, jpeg_bytes_);
  const bool was_full = (reasons_ & kPausedDiskFull) != 0;
  if (!room && !was_full) {
    Log("captures paused: the disk is nearly full");
    report_.Failed(CaptureFailure::kDiskFull, folder_,
                   std::to_string(std::max<std::int64_t>(usage->free_bytes, 0) / kMegabyte));
  } else if (room && was_full) {
    Log("captures resumed: the disk has room again");
    report_.Succeeded(folder_);
  }
  return room;
}

// The first grab of a run has nothing to be compared with, and is always written.
bool CaptureKeeper::SkipGrab(const PixelView& grab) {
  return skip_unchanged && !last_.pixels.empty() && SameScreen(last_, grab) && CountSkipped();
}

bool CaptureKeeper::CountSkipped() {
  ++skipped_;
  ticks_left_ = interval_;
  Apply();
  return true;
}

void CaptureKeeper::Written(const Bitmap& grab, std::int64_t jpeg_bytes) {
  ++taken_;
  jpeg_bytes_ = std::max(jpeg_bytes_, jpeg_bytes);
  ticks_left_ = interval_;
  // Kept only when it may be compared with; a copy, since the canvas is cleared for each grab.
  if (skip_unchanged) {
    last_ = grab;
  } else {
    last_ = Bitmap{};
  }
  Apply();
}

void CaptureKeeper::Command(TrayCommand command) {
  switch (command) {
    case TrayCommand::kPauseResume:
      SetPausedByUser(!(reasons_ & kPausedByUser));
      return;
    case TrayCommand::kStop:
      if (on_stop) on_stop();
      return;
    case TrayCommand::kOpenFolder:
      Step([&] { Require(services_.shell.ShellExecute(folder_, "", kSwShowNormal)); });
      return;
    case TrayCommand::kSkipUnchanged:
      skip_unchanged = !skip_unchanged;
      if (!skip_unchanged) last_ = Bitmap{};
      Apply();
      return;
    case TrayCommand::kMakeVideo:
      if (video.available && video.available() && video.make) video.make(folder_);
      return;
  }
}

void CaptureKeeper::SetPausedByUser(bool paused) {
  if (!running_) return;
  SetReason(kPausedByUser, paused);
  Apply();
}

void CaptureKeeper::SetReason(unsigned reason, bool on) {
  reasons_ = on ? (reasons_ | reason) : (reasons_ & ~reason);
}

// The display is held exactly while the run captures; the icon shows exactly while it runs.
void CaptureKeeper::Apply() {
  const bool hold = running_ && reasons_ == 0;
  if (hold && !held_) {
    held_ = true;
    Step([&] { Require(keep_.inhibit.Hold(), "the display could not be kept awake"); });
  } else if (!hold && held_) {
    held_ = false;
    Step([&] { keep_.inhibit.Release(); });
  }
  if (!running_) {
    if (shown_) Step([&] { keep_.icon.Hide(); });
    shown_.reset();
    return;
  }
  TrayIconState state = IconState();
  if (shown_ == state) return;
  bool shown = false;
  Step([&] { shown = keep_.icon.Show(state); });
  if (!shown && !no_tray_logged_) {
    no_tray_logged_ = true;
    Log("no notification area: the capture is steered from the window");
  }
  shown_ = std::move(state);
}

}  // namespace trelvin
