// The converter's conformance driver for Linux: libtrelvinjpeg linked as other programs link it.
#include "conformance/JpegConverterDriver.h"
#include "os/linux/capture/LibJpegConverter.h"
#include "trelvin_jpeg.h"

namespace trelvin::conformance {
namespace {

class LibJpegConverterDriver : public JpegConverterDriver {
 public:
  int BmpToJpeg(const char* bmp_path, const char* jpeg_path, std::int16_t level) override {
    return ::BmpToJpeg(bmp_path, jpeg_path, level);
  }
  JpegConverter& Service() override { return service_; }

 private:
  LibJpegConverter service_;
};

}  // namespace

std::unique_ptr<JpegConverterDriver> MakeJpegConverterDriver() {
  return std::make_unique<LibJpegConverterDriver>();
}

}  // namespace trelvin::conformance
