#pragma once

// Photos as cameras store them, and JPEG files whose headers lie: a JPEG whose EXIF orientation
// says how to turn it upright, and one whose frame header claims another size.
#include <cstdint>
#include <iterator>
#include <string>

namespace trelvin::test_support {

// `jpeg` (bytes of any one-byte type) with an EXIF segment right after its start marker whose
// only entry is the orientation `orientation` (1 to 8), big-endian as many cameras write it.
template <typename Bytes>
Bytes WithExifOrientation(Bytes jpeg, int orientation) {
  std::string segment(
      "\xFF\xE1\x00\x22"
      "Exif\0\0"                                  // APP1, its length, the name
      "MM\x00\x2A\x00\x00\x00\x08"                // TIFF header, directory at 8
      "\x00\x01\x01\x12\x00\x03\x00\x00\x00\x01"  // one entry: orientation, SHORT, one value
      "\x00\x00\x00\x00\x00\x00\x00\x00",         // the value; no next directory
      36);
  segment[29] = static_cast<char>(orientation);
  jpeg.insert(std::next(jpeg.begin(), 2), segment.begin(), segment.end());
  return jpeg;
}

// `jpeg` with its frame header claiming `width` x `height`; empty when it has no frame header.
template <typename Bytes>
Bytes WithJpegSize(Bytes jpeg, int width, int height) {
  for (std::size_t i = 2; i + 8 < jpeg.size(); ++i) {
    const auto at = [&](std::size_t k) { return static_cast<std::uint8_t>(jpeg[k]); };
    if (at(i) == 0xFF && (at(i + 1) == 0xC0 || at(i + 1) == 0xC2)) {
      jpeg[i + 5] = static_cast<char>(height >> 8), jpeg[i + 6] = static_cast<char>(height);
      jpeg[i + 7] = static_cast<char>(width >> 8), jpeg[i + 8] = static_cast<char>(width);
      return jpeg;
    }
  }
  return {};
}

}  // namespace trelvin::test_support
