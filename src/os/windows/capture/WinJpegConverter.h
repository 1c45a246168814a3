#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/services/JpegConverter.h"

namespace trelvin {

// The converter through jpeglib.dll, loaded by its full path (beside the program unless told
// otherwise) on first use and called through BmpToJpegW's declared type, so every folder name the
// file system allows reaches it. An older DLL without that export gets ANSI paths, and a name the
// ANSI code page cannot spell exactly fails there (never a short 8.3 name, which many volumes do
// not keep, and never a wrongly spelt one).
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

  // `wide` in `code_page` when it spells it exactly (it reads back the same), also where the
  // code page is UTF-8 (65001); otherwise nothing.
  static std::optional<std::string> ExactSpelling(const std::wstring& wide, unsigned code_page);

 private:
  bool Load();

  std::string dll_path_;
  void* module_ = nullptr;
  void* wide_entry_ = nullptr;
  void* entry_ = nullptr;
  bool tried_ = false;
};

}  // namespace trelvin
