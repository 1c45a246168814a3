#include "video/WebmFile.h"

#include <mkvmuxer/mkvmuxer.h>

namespace trelvin::video {

// libwebm's output interface over the temporary file: seekable, so the muxer completes the
// header's sizes, duration and index once the pictures are written.
class TempFileWriter : public mkvmuxer::IMkvWriter {
 public:
  explicit TempFileWriter(const std::string& path) : file_(path) {}

  bool ok() const { return file_.ok() && !failed_; }
  bool Commit() { return ok() && file_.Commit(); }

  mkvmuxer::int32 Write(const void* buf, mkvmuxer::uint32 len) override {
    if (failed_ || !file_.Write(buf, len)) {
      failed_ = true;
      return -1;
    }
    position_ += len;
    return 0;
  }
  mkvmuxer::int64 Position() const override { return position_; }
  mkvmuxer::int32 Position(mkvmuxer::int64 position) override {
    if (failed_ || position < 0 || !file_.Seek(static_cast<std::uint64_t>(position))) {
      failed_ = true;
      return -1;
    }
    position_ = position;
    return 0;
  }
  bool Seekable() const override { return true; }
  void ElementStartNotify(mkvmuxer::uint64, mkvmuxer::int64) override {}

 private:
  TempFile file_;
  mkvmuxer::int64 position_ = 0;
  bool failed_ = false;  // a failed write or seek spoils the file for good
};

WebmFile::WebmFile(const std::string& path)
    : writer_(std::make_unique<TempFileWriter>(path)),
      segment_(std::make_unique<mkvmuxer::Segment>()) {}

WebmFile::~WebmFile() = default;

bool WebmFile::ok() const { return writer_->ok(); }

bool WebmFile::Start(int width, int height, int fps) {
  if (!writer_->ok() || !segment_->Init(writer_.get())) return false;
  segment_->set_mode(mkvmuxer::Segment::kFile);
  segment_->OutputCues(true);
  segment_->GetSegmentInfo()->set_writing_app("trelvin-video");
  track_ = segment_->AddVideoTrack(width, height, 0);
  if (track_ == 0) return false;
  auto* track = static_cast<mkvmuxer::VideoTrack*>(segment_->GetTrackByNumber(track_));
  track->set_codec_id(mkvmuxer::Tracks::kVp9CodecId);
  track->set_frame_rate(fps);
  track->set_default_duration(1000000000ULL / static_cast<unsigned>(fps));
  return segment_->CuesTrack(track_) && writer_->ok();
}

bool WebmFile::AddFrame(const void* data, std::size_t size, std::uint64_t timestamp_ns, bool key) {
  return segment_->AddFrame(static_cast<const std::uint8_t*>(data), size, track_, timestamp_ns,
                            key) &&
         writer_->ok();
}

bool WebmFile::Commit(std::uint64_t duration_ns) {
  // The duration in the segment's time unit (milliseconds by default).
  segment_->set_duration(static_cast<double>(duration_ns) /
                         static_cast<double>(segment_->GetSegmentInfo()->timecode_scale()));
  return segment_->Finalize() && writer_->Commit();
}

}  // namespace trelvin::video
