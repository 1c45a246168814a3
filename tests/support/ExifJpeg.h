#pragma once

// Photos as cameras store them: a JPEG whose EXIF orientation says how to turn it upright.
#include <iterator>

namespace trelvin::test_support {

// `jpeg` (bytes of any one-byte type) with an EXIF segment right after its start marker whose
// only entry is the orientation `orientation` (1 to 8), big-endian as many cameras write it.
template <typename Bytes>
Bytes WithExifOrientation(Bytes jpeg, int orientation) {
  const unsigned char segment[] = {0xFF, 0xE1,
                                   0x00, 0x22,
                                   'E',  'x',
                                   'i',  'f',
                                   0,    0,  // APP1, its length, the name
                                   'M',  'M',
                                   0,    0x2A,
                                   0,    0,
                                   0,    8,  // TIFF header, directory at 8
                                   0,    1,  // one entry:
                                   0x01, 0x12,
                                   0,    3,
                                   0,    0,
                                   0,    1,  // orientation, SHORT, one value
                                   0,    static_cast<unsigned char>(orientation),
                                   0,    0,  // the value
                                   0,    0,
                                   0,    0};  // no next directory
  jpeg.insert(std::next(jpeg.begin(), 2), std::begin(segment), std::end(segment));
  return jpeg;
}

}  // namespace trelvin::test_support
