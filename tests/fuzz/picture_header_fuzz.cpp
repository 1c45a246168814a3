// The picture-header pre-check reads any file of the picture directory before a decoder does.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "os/common/PictureHeader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  const auto declared = trelvin::PictureHeader::DeclaredSize(in);
  // Sizes come from 16-bit fields, a GIF frame's from two of them.
  if (declared && (declared->width < 0 || declared->height < 0 || declared->width > 2 * 65535 ||
                   declared->height > 2 * 65535)) {
    std::abort();
  }
  return 0;
}
