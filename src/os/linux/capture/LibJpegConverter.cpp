#include "os/linux/capture/LibJpegConverter.h"

#include "trelvin_jpeg.h"

namespace trelvin {

int LibJpegConverter::BmpToJpeg(const std::string& bmp_path, const std::string& jpeg_path,
                                std::int16_t level) {
  return ::BmpToJpeg(bmp_path.c_str(), jpeg_path.c_str(), level);
}

}  // namespace trelvin
