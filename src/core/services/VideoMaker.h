#pragma once

#include <functional>
#include <string>

namespace trelvin {

// A capture run as its video needs it: the folder, the stamps of its first and last pictures
// ("yyyymmddhhmmss") and how many pictures it kept.
struct VideoRun {
  std::string folder;
  std::string first_stamp;
  std::string last_stamp;
  int pictures = 0;
};

// What became of a video: made (`path` is the file) or not (`reason` says why, in the user's
// words; empty when it was cancelled).
struct VideoOutcome {
  bool made = false;
  std::string path;
  std::string reason;
  int frames = 0;
  int damaged = 0;
};

// Makes the video of a capture run in the background, one at a time. Its callbacks run on the
// interface thread, never during Start().
class VideoMaker {
 public:
  using Progress = std::function<void(int done, int total)>;
  using Done = std::function<void(const VideoOutcome& outcome)>;

  virtual ~VideoMaker() = default;
  // Starts the video of `run`; false, and nothing started, while another one is being made.
  virtual bool Start(const VideoRun& run, Progress progress, Done done) = 0;
  // Whether a video is being made (from Start() until its `done` has run).
  virtual bool Busy() const = 0;
  // Stops the video being made; its `done` then reports it not made, with no reason.
  virtual void Cancel() = 0;
};

}  // namespace trelvin
