#pragma once

#include "platform/services/JpegConverter.h"

namespace trelvin {

// Until jpeglib.dll is built for this platform: every conversion fails, so the bitmap is kept.
class NoJpegConverter : public JpegConverter {
 public:
  int BmpToJpeg(const std::string&, const std::string&, std::int16_t) override { return 1; }
};

}  // namespace trelvin
