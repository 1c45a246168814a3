// What the notification-area icon shows of a capture run.
#include <cstdio>
#include <string>

#include "core/base/Guard.h"
#include "core/capture/CaptureKeeper.h"

namespace trelvin {

namespace {

// hh:mm:ss of the local clock, `seconds_ahead` from `now`.
std::string ClockTime(const LocalDateTime& now, int seconds_ahead) {
  const int of_day = ((now.hour * 60 + now.minute) * 60 + now.second + seconds_ahead) % 86400;
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", of_day / 3600, of_day / 60 % 60, of_day % 60);
  return text;
}

// The first reason that holds, in the user's words.
std::string PauseText(unsigned reasons) {
  if (reasons & kPausedSessionAway) return "paused: the session is locked or not in front";
  if (reasons & kPausedDiskFull) return "paused: the disk is nearly full";
  return "paused";
}

}  // namespace

TrayIconState CaptureKeeper::IconState() const {
  TrayIconState state;
  state.paused = reasons_ != 0;
  std::string status = "capturing";
  if (state.paused) {
    status = PauseText(reasons_);
  } else {
    Step([&] { status += ", next at " + ClockTime(services_.clock.Now(), ticks_left_); });
  }
  state.tooltip = "Trelvin Show: " + status + "\n" + std::to_string(taken_) + " taken, " +
                  std::to_string(skipped_) + " skipped as unchanged\n" + folder_;
  if (!video_line_.empty()) state.tooltip += "\n" + video_line_;
  const bool video_ready = video.available && video.make && video.available();
  state.menu = {
      {TrayCommand::kPauseResume, (reasons_ & kPausedByUser) ? "&Resume" : "&Pause"},
      {TrayCommand::kStop, "&Stop"},
      {TrayCommand::kOpenFolder, "&Open the capture folder"},
      {TrayCommand::kSkipUnchanged, "S&kip unchanged screens", true, true, skip_unchanged},
      {TrayCommand::kMakeVideo, "Make a &video of this run", video_ready},
  };
  return state;
}

void CaptureKeeper::VideoProgress(int done, int total) {
  video_line_ = done < total ? "making the video: " + std::to_string(done) + " of " +
                                   std::to_string(total) + " pictures"
                             : "";
  if (running_) Apply();
}

}  // namespace trelvin
