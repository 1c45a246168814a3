// The EXIF orientation reader follows offsets a photo's metadata gives, which anything may hold.
// Each input is read as a whole JPEG file and as the contents of an "Exif" segment of one, so
// that the fuzzer reaches the offset-chasing directly.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "os/common/PictureHeader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::size_t length = size + 8;  // the length field, "Exif\0\0" and the data
  const std::string segment = std::string("\xFF\xD8\xFF\xE1") + static_cast<char>(length >> 8) +
                              static_cast<char>(length & 0xFF) + std::string("Exif\0\0", 6) +
                              bytes + "\xFF\xDA";
  for (const std::string& file : {bytes, length <= 65535 ? segment : bytes}) {
    std::istringstream in(file);
    const int orientation = trelvin::PictureHeader::JpegOrientation(in);
    if (orientation < 1 || orientation > 8) std::abort();
  }
  return 0;
}
