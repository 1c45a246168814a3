#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "atomicfile/TempFile.h"

namespace mkvmuxer {
class Segment;
}

namespace trelvin::video {

class TempFileWriter;

// A WebM file with one VP9 video track, written to a temporary file beside `path` that takes
// the name only on Commit(): until then, and if anything fails or the object goes first, no file
// (and no part of one) appears under `path`, and a file already there stays as it was.
class WebmFile {
 public:
  explicit WebmFile(const std::string& path);
  ~WebmFile();
  WebmFile(const WebmFile&) = delete;
  WebmFile& operator=(const WebmFile&) = delete;

  // Whether the temporary file could be created in the folder (it is writable).
  bool ok() const;
  // Starts the file: a video track of `width` x `height` at `fps` pictures a second.
  bool Start(int width, int height, int fps);
  // Appends one encoded picture shown at `timestamp_ns`.
  bool AddFrame(const void* data, std::size_t size, std::uint64_t timestamp_ns, bool key);
  // Writes the index and the header's duration (`duration_ns`) and puts the file in place.
  bool Commit(std::uint64_t duration_ns);

 private:
  std::unique_ptr<TempFileWriter> writer_;
  std::unique_ptr<mkvmuxer::Segment> segment_;
  std::uint64_t track_ = 0;
};

}  // namespace trelvin::video
