#include "video/MakeVideo.h"

#include <system_error>
#include <vector>

#include "video/CaptureFiles.h"
#include "video/FrameLoader.h"
#include "video/Vp9Encoder.h"
#include "video/WebmFile.h"

namespace trelvin::video {

namespace {

bool Valid(const VideoRequest& request) {
  return (request.from.empty() || IsStamp(request.from)) &&
         (request.to.empty() || IsStamp(request.to)) && request.fps >= 1 && request.fps <= 240 &&
         request.width >= 0 && request.width != 1 && request.width <= 16384;
}

}  // namespace

VideoResult MakeVideo(const VideoRequest& request, const VideoProgress& progress,
                      const std::atomic<bool>* cancel) {
  VideoResult result;
  result.path = request.output;
  if (!Valid(request)) {
    result.status = VideoStatus::kBadRequest;
    return result;
  }
  std::error_code error;
  if (!std::filesystem::is_directory(PathOf(request.folder), error)) {
    result.status = VideoStatus::kNoFolder;
    return result;
  }
  const std::vector<CaptureFile> captures = ListCaptures(request.folder, request.from, request.to);
  const int total = static_cast<int>(captures.size());
  FrameLoader loader;
  // The video's size comes from the first capture that can be read.
  std::size_t first = 0;
  int source_w = 0, source_h = 0;
  while (first < captures.size() && !loader.ReadSize(captures[first].path, source_w, source_h)) {
    ++first;
  }
  if (first == captures.size()) {
    result.status = VideoStatus::kNoPictures;
    result.damaged = total;
    return result;
  }
  result.damaged = static_cast<int>(first);
  VideoSize(source_w, source_h, request.width, result.width, result.height);
  if (result.width == 0) {
    result.status = VideoStatus::kBadRequest;
    return result;
  }
  if (result.path.empty()) {
    result.path = DefaultVideoPath(request.folder, captures[first].stamp, captures.back().stamp);
  }

  WebmFile file(result.path);
  if (!file.ok()) {
    result.status = VideoStatus::kNotWritable;
    return result;
  }
  Vp9Encoder encoder;
  if (!encoder.Start(result.width, result.height, request.fps)) {
    result.status = VideoStatus::kEncoderFailed;
    return result;
  }
  if (!file.Start(result.width, result.height, request.fps)) {
    result.status = VideoStatus::kWriteFailed;
    return result;
  }
  const std::uint64_t frame_ns = 1000000000ULL / static_cast<unsigned>(request.fps);
  bool write_failed = false;
  const Vp9Encoder::Sink sink = [&](const void* data, std::size_t size, std::int64_t pts,
                                    bool key) {
    if (file.AddFrame(data, size, static_cast<std::uint64_t>(pts) * frame_ns, key)) return true;
    write_failed = true;
    return false;
  };
  Frame frame;
  frame.Resize(result.width, result.height);
  for (std::size_t i = first; i < captures.size(); ++i) {
    if (cancel && cancel->load()) {
      result.status = VideoStatus::kCancelled;
      return result;
    }
    if (loader.Load(captures[i].path, frame)) {
      if (!encoder.Encode(frame, result.frames, sink)) {
        result.status = write_failed ? VideoStatus::kWriteFailed : VideoStatus::kEncoderFailed;
        return result;
      }
      ++result.frames;
    } else {
      ++result.damaged;
    }
    if (progress) progress(static_cast<int>(i) + 1, total);
  }
  if (result.frames == 0) {
    result.status = VideoStatus::kNoPictures;
    return result;
  }
  if (!encoder.Finish(sink)) {
    result.status = write_failed ? VideoStatus::kWriteFailed : VideoStatus::kEncoderFailed;
    return result;
  }
  if (!file.Commit(static_cast<std::uint64_t>(result.frames) * frame_ns)) {
    result.status = VideoStatus::kWriteFailed;
    return result;
  }
  result.status = VideoStatus::kDone;
  return result;
}

std::string DescribeFailure(const VideoResult& result, const VideoRequest& request) {
  switch (result.status) {
    case VideoStatus::kDone:
      return {};
    case VideoStatus::kNoFolder:
      return "no such folder: " + request.folder;
    case VideoStatus::kNoPictures:
      return "no pictures to make a video of in " + request.folder;
    case VideoStatus::kBadRequest:
      return "stamps are yyyymmddhhmmss, the rate 1 to 240, the width 2 or more";
    case VideoStatus::kNotWritable:
      return "cannot write the video: " + result.path;
    case VideoStatus::kWriteFailed:
      return "writing the video failed (is the disk full?): " + result.path;
    case VideoStatus::kEncoderFailed:
      return "the video encoder failed";
    case VideoStatus::kCancelled:
      return "cancelled";
  }
  return {};
}

}  // namespace trelvin::video
