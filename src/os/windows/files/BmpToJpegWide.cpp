// jpeglib.dll's wide-character export: the paths as the system names files, so a folder named in
// any script, or with an emoji, reaches the converter.
#include <windows.h>

#include <string>

#include "Convert.h"
#include "trelvin_jpeg.h"

namespace {

// UTF-16 to the writer's UTF-8; empty for an unpaired surrogate, which names no file.
std::string ToUtf8(const wchar_t* wide) {
  const int n =
      WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide, -1, nullptr, 0, nullptr, nullptr);
  if (n <= 1) return {};
  std::string utf8(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide, -1, utf8.data(), n, nullptr, nullptr);
  utf8.resize(static_cast<std::size_t>(n - 1));
  return utf8;
}

}  // namespace

extern "C" TRELVIN_JPEG_API int TRELVIN_JPEG_CALL BmpToJpegW(const wchar_t* bmp_path,
                                                             const wchar_t* jpeg_path,
                                                             int16_t level) {
  if (!bmp_path || !jpeg_path || !*bmp_path || !*jpeg_path) return 1;
  return trelvin::bmp::ConvertBmpToJpeg(ToUtf8(bmp_path), ToUtf8(jpeg_path), level);
}
