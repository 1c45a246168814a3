// The video of a capture run: offered when the run stops, made in the background, told when done.
#include "core/capture/RunVideo.h"

#include "core/base/Guard.h"
#include "core/base/PathRules.h"

namespace trelvin {

namespace {

constexpr std::size_t kStampLength = 14;  // "yyyymmddhhmmss"

// The file name of `path`: what follows its last separator.
std::string NameOf(const std::string& path) {
  const auto cut = path.rfind(kPathSeparator);
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

}  // namespace

void RunVideo::BeginRun() { run_ = VideoRun{}; }

void RunVideo::Kept(const std::string& base_path) {
  const auto cut = base_path.rfind(kPathSeparator);
  const std::string name = cut == std::string::npos ? base_path : base_path.substr(cut + 1);
  if (name.size() < kStampLength) return;
  const std::string stamp = name.substr(0, kStampLength);
  if (run_.pictures == 0) {
    run_.folder = cut == std::string::npos ? "." : base_path.substr(0, cut + 1);
    run_.first_stamp = stamp;
  }
  run_.last_stamp = stamp;
  ++run_.pictures;
}

void RunVideo::EndRun() {
  if (run_.pictures < kOfferFrom) return;
  std::string folder = run_.folder;
  if (folder.size() > 1 && EndsWithSeparator(folder)) folder.pop_back();
  const std::string notice =
      std::to_string(run_.pictures) + " pictures in " + folder + " — Make a video";
  Step([&] {
    Require(notifications_.NotifyWithAction(notice, "", "Make a video", [this] { MakeVideo(); }),
            "the desktop took no notification");
  });
}

bool RunVideo::MakeVideo() {
  if (run_.pictures == 0) return false;
  bool started = false;
  Step([&] {
    started = video_.Start(
        run_,
        [this](int done, int total) {
          if (on_progress) on_progress(done, total);
        },
        [this](const VideoOutcome& outcome) { Finished(outcome); });
  });
  if (!started) {
    Step([&] {
      notifications_.Notify("A video is being made already",
                            "Trelvin Show makes one video at a time; try again when it is done.");
    });
  }
  return started;
}

void RunVideo::Finished(const VideoOutcome& outcome) {
  if (on_progress) on_progress(0, 0);  // no picture is left to make, whatever the outcome
  if (outcome.made) {
    const std::string path = outcome.path;
    std::string body = NameOf(path) + ": " + std::to_string(outcome.frames) + " pictures.";
    if (outcome.damaged > 0) {
      body += " " + std::to_string(outcome.damaged) + " damaged pictures were passed over.";
    }
    Step([&] {
      Require(notifications_.NotifyWithAction(
                  "Video made", body, "Open",
                  [this, path] { shell_.ShellExecute(path, "", kSwShowNormal); }),
              "the desktop took no notification");
    });
  } else if (!outcome.reason.empty()) {
    Step([&] {
      Require(notifications_.Notify("Trelvin Show cannot make the video", outcome.reason),
              "the desktop took no notification");
    });
  }
}

}  // namespace trelvin
