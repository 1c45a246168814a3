// The converter's conformance driver for Linux: libtrelvinjpeg linked as other programs link it.
#include "conformance/JpegConverterDriver.h"
#include "os/linux/capture/LibJpegConverter.h"
#include "trelvin_jpeg.h"

namespace trelvin::conformance {

std::unique_ptr<JpegConverter> MakeJpegConverter() { return std::make_unique<LibJpegConverter>(); }

int CallBmpToJpeg(const char* bmp_path, const char* jpeg_path, std::int16_t level) {
  return ::BmpToJpeg(bmp_path, jpeg_path, level);
}

}  // namespace trelvin::conformance
