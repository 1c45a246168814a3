#pragma once

#include <cstdint>
#include <string>

namespace trelvin {

// The BMP to JPEG converter library.
class JpegConverter {
 public:
  virtual ~JpegConverter() = default;
  // Converts the BMP file into a JPEG file at quality `level` (1 to 100), written atomically; the
  // BMP is left in place. Returns 0 on success, non-zero otherwise (callers may ignore it).
  virtual int BmpToJpeg(const std::string& bmp_path, const std::string& jpeg_path,
                        std::int16_t level) = 0;
};

}  // namespace trelvin
