#pragma once

#include <atomic>
#include <functional>
#include <string>

namespace trelvin::video {

// What to make: the captures of `folder` (optionally only those stamped from `from` to `to`,
// "yyyymmddhhmmss") at `fps` pictures a second, `width` pixels wide (0: the pictures' own width),
// into `output` (empty: FOLDER/<first stamp>-<last stamp>.webm, never over an existing file).
struct VideoRequest {
  std::string folder;
  std::string from;
  std::string to;
  int fps = 10;
  int width = 0;
  std::string output;
};

enum class VideoStatus {
  kDone,
  kNoFolder,       // the folder does not exist or cannot be read
  kNoPictures,     // no capture (none readable) in the folder between the stamps
  kBadRequest,     // a stamp, rate or width that cannot be used
  kNotWritable,    // the video cannot be created where asked
  kWriteFailed,    // writing failed part way (the disk is full)
  kEncoderFailed,  // the encoder refused the pictures
  kCancelled,
};

struct VideoResult {
  VideoStatus status = VideoStatus::kDone;
  std::string path;  // the video, once made; else where it was to go
  int frames = 0;    // pictures in the video
  int damaged = 0;   // captures passed over because they could not be decoded
  int width = 0;
  int height = 0;
};

// Called after each capture with the number done and the number in all.
using VideoProgress = std::function<void(int done, int total)>;

// Makes the video. Reads the captures one at a time and never changes them; the video appears
// under its name complete or not at all. `cancel`, when set from another thread, stops it soon
// after (kCancelled, nothing left behind).
VideoResult MakeVideo(const VideoRequest& request, const VideoProgress& progress,
                      const std::atomic<bool>* cancel);

// A one-line reason for a result that is not kDone, in the user's words.
std::string DescribeFailure(const VideoResult& result, const VideoRequest& request);

}  // namespace trelvin::video
