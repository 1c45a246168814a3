// The converter's conformance driver for Windows: jpeglib.dll beside this program, loaded by
// LoadLibrary and called through a pointer of its declared type, as other programs use it.
#include "conformance/JpegConverterDriver.h"
#include "os/windows/WinApi.h"
#include "os/windows/capture/WinJpegConverter.h"

namespace trelvin::conformance {
namespace {

using BmpToJpegFunction = int(__stdcall*)(const char*, const char*, std::int16_t);

std::string DllPath() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  const std::string text = path;
  return text.substr(0, text.find_last_of("\\/") + 1) + "jpeglib.dll";
}

class WinJpegConverterDriver : public JpegConverterDriver {
 public:
  WinJpegConverterDriver() : module_(LoadLibraryA(DllPath().c_str())), service_(DllPath()) {
    // Through void*, as GetProcAddress results are meant to be cast to their real type.
    if (module_) {
      convert_ = reinterpret_cast<BmpToJpegFunction>(
          reinterpret_cast<void*>(GetProcAddress(module_, "BmpToJpeg")));
    }
  }
  ~WinJpegConverterDriver() override {
    if (module_) FreeLibrary(module_);
  }
  int BmpToJpeg(const char* bmp_path, const char* jpeg_path, std::int16_t level) override {
    return convert_ ? convert_(bmp_path, jpeg_path, level) : -1000;
  }
  JpegConverter& Service() override { return service_; }

 private:
  HMODULE module_;
  BmpToJpegFunction convert_ = nullptr;
  WinJpegConverter service_;
};

}  // namespace

std::unique_ptr<JpegConverterDriver> MakeJpegConverterDriver() {
  return std::make_unique<WinJpegConverterDriver>();
}

}  // namespace trelvin::conformance
