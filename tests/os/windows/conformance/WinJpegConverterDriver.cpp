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

}  // namespace

std::unique_ptr<JpegConverter> MakeJpegConverter() {
  return std::make_unique<WinJpegConverter>(DllPath());
}

// The library stays loaded for the rest of the test program.
int CallBmpToJpeg(const char* bmp_path, const char* jpeg_path, std::int16_t level) {
  static const HMODULE module = LoadLibraryA(DllPath().c_str());
  // Through void*, as GetProcAddress results are meant to be cast to their real type.
  static const auto convert = module ? reinterpret_cast<BmpToJpegFunction>(reinterpret_cast<void*>(
                                           GetProcAddress(module, "BmpToJpeg")))
                                     : nullptr;
  return convert ? convert(bmp_path, jpeg_path, level) : -1000;
}

}  // namespace trelvin::conformance
