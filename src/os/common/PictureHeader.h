#pragma once

#include <istream>
#include <optional>

#include "core/base/Types.h"

namespace trelvin {

// The sizes a GIF, JPEG, PNG, BMP or WebP file declares in its headers, read without decoding
// anything. Some system decoders allocate for the declared size before looking at the data (Wine's
// GIF decoder reads the whole frame when it opens the file), so a hostile header is refused before
// them.
class PictureHeader {
 public:
  // The largest width and height the file declares (a GIF's screen and its first frame, a JPEG's
  // frame, a PNG's header, a BMP's info header, a WebP's first chunk); an empty size when the
  // headers are damaged or end before saying; nullopt for files of other kinds.
  static std::optional<Size> DeclaredSize(std::istream& in);
  // A JPEG's EXIF orientation, 1 to 8 (1: stored upright; 5 to 8 turn it by a quarter); 1 when
  // the file has none or is no JPEG.
  static int JpegOrientation(std::istream& in);
};

}  // namespace trelvin
