#pragma once

#include "core/services/JpegConverter.h"

namespace trelvin {

// The converter library libtrelvinjpeg (BmpToJpeg on libjpeg-turbo).
class LibJpegConverter : public JpegConverter {
 public:
  int BmpToJpeg(const std::string& bmp_path, const std::string& jpeg_path,
                std::int16_t level) override;
};

}  // namespace trelvin
