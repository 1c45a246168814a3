// The EXIF orientation reader follows offsets a photo's metadata gives, which anything may hold.
// Each input is read twice: as a whole JPEG file, and as the contents of an "Exif" segment of one,
// so that the fuzzer reaches the offset-chasing directly.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "core/base/PictureHeader.h"

namespace {

int Orientation(const std::string& bytes) {
  std::istringstream in(bytes);
  const int orientation = trelvin::PictureHeader::JpegOrientation(in);
  if (orientation < 1 || orientation > 8) std::abort();
  return orientation;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  Orientation(bytes);
  if (size > 65535 - 8) return 0;
  const std::size_t length = size + 8;  // the length field, "Exif\0\0" and the data
  std::string jpeg = "\xFF\xD8\xFF\xE1";
  jpeg += static_cast<char>(length >> 8);
  jpeg += static_cast<char>(length & 0xFF);
  jpeg += std::string("Exif\0\0", 6) + bytes + "\xFF\xDA";
  Orientation(jpeg);
  return 0;
}
