#pragma once

#include <memory>
#include <optional>
#include <string>

#include "core/base/Picture.h"
#include "core/base/Types.h"

namespace trelvin {

// What tells a changed file from the one that was read: its length and modification time.
struct FileStamp {
  long long size = 0;
  long long modified = 0;  // in the system's own unit
  friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// What a system supplies to the picture service: its decoder and its files' stamps. Both members
// may run on the look-ahead's worker thread as well as on the interface thread.
class PictureDecoder {
 public:
  // Decoded pictures above this size fail like a damaged file: a small file can claim a huge one.
  static constexpr long long kMaxDecodedBytes = 256LL * 1024 * 1024;
  // Whether `width` x `height` pixels of 32 bits are a picture worth decoding: not empty, and
  // within kMaxDecodedBytes.
  static bool FitsTheCap(long long width, long long height) {
    return width > 0 && height > 0 && width <= kMaxDecodedBytes / 4 / height;
  }

  // How a picture is decoded for a display size.
  enum class Fit {
    kCover,  // at a reduced scale where the format offers one that still covers the size
    kExact,  // brought to exactly that size, so that drawing it is a plain copy
  };

  virtual ~PictureDecoder() = default;
  // Decodes `path` as it is shown at `display` (empty: every pixel, at its own size), turned
  // upright by a JPEG's EXIF orientation; the picture's PixelSize is the file's upright size.
  // nullptr on any failure, a picture beyond the cap included.
  virtual std::shared_ptr<const Picture> Decode(const std::string& path, Size display, Fit fit) = 0;
  // The file's stamp; nullopt when it cannot be read.
  virtual std::optional<FileStamp> Stamp(const std::string& path) = 0;
};

}  // namespace trelvin
