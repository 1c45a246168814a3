// The picture-header pre-check reads any file of the picture directory before a decoder does.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "os/common/PictureHeader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  std::istringstream in(bytes);
  const auto declared = trelvin::PictureHeader::DeclaredSize(in);
  if (!declared) return 0;
  // Any size a header may declare is legal here (a PNG's or BMP's 32-bit fields, a WebP canvas
  // of 2^24): the caller refuses what is too large. Never negative, though, and a GIF's size comes
  // from 16-bit fields, its first frame's from two of them.
  if (declared->width < 0 || declared->height < 0) std::abort();
  const bool gif = size >= 3 && bytes.compare(0, 3, "GIF") == 0;
  if (gif && (declared->width > 2 * 65535 || declared->height > 2 * 65535)) std::abort();
  return 0;
}
