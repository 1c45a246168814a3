#pragma once

#include <functional>
#include <string>

#include "core/services/Notifications.h"
#include "core/services/Shell.h"
#include "core/services/VideoMaker.h"

namespace trelvin {

// A capture run's pictures as its video needs them, the end-of-run notice that offers the video,
// and the notices that tell how it went. Runs on the interface thread.
class RunVideo {
 public:
  // Runs of fewer pictures end without the offer.
  static constexpr int kOfferFrom = 10;

  RunVideo(Notifications& notifications, VideoMaker& video, Shell& shell)
      : notifications_(notifications), video_(video), shell_(shell) {}

  // A new run: the pictures of the last one are forgotten.
  void BeginRun();
  // A capture was kept as `base_path` + ".jpg" (the base ends in the picture's stamp, with "-N"
  // when it shares its second).
  void Kept(const std::string& base_path);
  // The run stopped: with kOfferFrom pictures or more, the notice
  // "N pictures in FOLDER — Make a video", whose action makes the video.
  void EndRun();
  // Makes the video of the last run in the background (the notice's action, the capture icon's
  // menu); false when there is no run to make one of or a video is being made already.
  bool MakeVideo();
  // The last run so far.
  const VideoRun& LastRun() const { return run_; }

  // Called with each picture done while a video is being made (the icon's tooltip), and with
  // done == total when it ends.
  std::function<void(int done, int total)> on_progress;

 private:
  void Finished(const VideoOutcome& outcome);

  Notifications& notifications_;
  VideoMaker& video_;
  Shell& shell_;
  VideoRun run_;
};

}  // namespace trelvin
