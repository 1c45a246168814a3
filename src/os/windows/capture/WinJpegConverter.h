#pragma once

#include <cstdint>
#include <string>

#include "core/services/JpegConverter.h"

namespace trelvin {

// The converter through jpeglib.dll, loaded by its full path (beside the program unless told
// otherwise) on first use and called through BmpToJpeg's declared type. Paths go to the DLL in the
// ANSI code page; a name that code page cannot spell goes by its short (8.3) form where the
// volume has one, else the conversion fails.
class WinJpegConverter : public JpegConverter {
 public:
  // `dll_path` (UTF-8) is the library to load; empty means jpeglib.dll beside the program.
  explicit WinJpegConverter(std::string dll_path = {});
  ~WinJpegConverter() override;
  WinJpegConverter(const WinJpegConverter&) = delete;
  WinJpegConverter& operator=(const WinJpegConverter&) = delete;

  // Non-zero as the DLL returns it; kUnavailable when the DLL or its export cannot be had,
  // kUnspellable when a path cannot be given to it.
  int BmpToJpeg(const std::string& bmp_path, const std::string& jpeg_path,
                std::int16_t level) override;

  static constexpr int kUnavailable = -1;
  static constexpr int kUnspellable = -2;

 private:
  bool Load();

  std::string dll_path_;
  void* module_ = nullptr;
  void* entry_ = nullptr;
  bool tried_ = false;
};

}  // namespace trelvin
