#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "video/Frame.h"

namespace trelvin::video {

// Reads capture files into video frames, one at a time and into the same buffers each time, so
// memory stays flat whatever the number of pictures.
class FrameLoader {
 public:
  // The size of the picture in `path` from its header alone; false when it cannot be read.
  bool ReadSize(const std::string& path, int& width, int& height);
  // Decodes the JPEG picture in `path` into `frame` (whose size is kept), shrunk while decoding
  // as far as libjpeg allows, then scaled to fit and letter-boxed. False, with `frame`
  // unspecified, when the file cannot be read or the picture is damaged.
  bool Load(const std::string& path, Frame& frame);

 private:
  bool ReadFile(const std::string& path);
  bool Decode(int content_w, int content_h);
  void Place(const Placement& place, Frame& frame);
  void ScaleRow(const Placement& place, int y, std::uint8_t* out);

  std::vector<std::uint8_t> file_;  // the JPEG file's bytes
  std::vector<std::uint8_t> rgb_;   // the decoded picture, 3 bytes a pixel
  int rgb_w_ = 0;
  int rgb_h_ = 0;
  std::vector<std::uint8_t> rows_;  // two rows of the frame, 3 bytes a pixel
  std::vector<int> column_;         // per column of the placed picture: source x (<<8)
};

}  // namespace trelvin::video
