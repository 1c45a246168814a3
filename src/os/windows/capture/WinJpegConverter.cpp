#include "os/windows/capture/WinJpegConverter.h"

#include <windows.h>

#include <optional>

#include "os/windows/WinText.h"

namespace trelvin {

namespace {

// The two exports as jpeglib.dll declares them: UTF-16 paths, and ANSI paths.
using BmpToJpegWFunction = int(__stdcall*)(const wchar_t*, const wchar_t*, std::int16_t);
using BmpToJpegFunction = int(__stdcall*)(const char*, const char*, std::int16_t);

std::wstring ProgramDirectory() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  const auto slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

// The core's UTF-8 as UTF-16, or nothing when it is not valid UTF-8: a path with a replacement
// character in it would name another file.
std::optional<std::wstring> ExactWide(const std::string& utf8) {
  if (utf8.empty()) return std::nullopt;
  const int size = static_cast<int>(utf8.size());
  const int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, nullptr, 0);
  if (n <= 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, wide.data(), n);
  return wide;
}

}  // namespace

std::optional<std::string> WinJpegConverter::ExactSpelling(const std::wstring& wide,
                                                           unsigned code_page) {
  if (wide.empty()) return std::nullopt;
  const int size = static_cast<int>(wide.size());
  const int n = WideCharToMultiByte(code_page, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return std::nullopt;
  std::string text(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(code_page, 0, wide.data(), size, text.data(), n, nullptr, nullptr);
  // The spelling is exact when it reads back as the same name; a best-fit letter ("a" for "ā")
  // or a "?" does not.
  const int back = MultiByteToWideChar(code_page, 0, text.data(), n, nullptr, 0);
  std::wstring again(static_cast<std::size_t>(back > 0 ? back : 0), L'\0');
  if (back > 0) MultiByteToWideChar(code_page, 0, text.data(), n, again.data(), back);
  if (again != wide) return std::nullopt;
  return text;
}

WinJpegConverter::WinJpegConverter(std::string dll_path) : dll_path_(std::move(dll_path)) {}

WinJpegConverter::~WinJpegConverter() {
  if (module_) FreeLibrary(static_cast<HMODULE>(module_));
}

bool WinJpegConverter::Load() {
  if (tried_) return wide_entry_ != nullptr || entry_ != nullptr;
  tried_ = true;
  // By full path only, so no other jpeglib.dll on the search path is ever taken.
  const std::wstring path =
      dll_path_.empty() ? ProgramDirectory() + L"jpeglib.dll" : Widen(dll_path_);
  HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (!module) return false;
  FARPROC wide_entry = GetProcAddress(module, "BmpToJpegW");
  FARPROC entry = GetProcAddress(module, "BmpToJpeg");
  if (!wide_entry && !entry) {
    FreeLibrary(module);
    return false;
  }
  module_ = module;
  wide_entry_ = reinterpret_cast<void*>(wide_entry);
  entry_ = reinterpret_cast<void*>(entry);
  return true;
}

int WinJpegConverter::BmpToJpeg(const std::string& bmp_path, const std::string& jpeg_path,
                                std::int16_t level) {
  if (!Load()) return kUnavailable;
  const auto bmp = ExactWide(bmp_path);
  const auto jpeg = ExactWide(jpeg_path);
  if (!bmp || !jpeg) return kUnspellable;
  if (wide_entry_) {
    return reinterpret_cast<BmpToJpegWFunction>(wide_entry_)(bmp->c_str(), jpeg->c_str(), level);
  }
  // An older jpeglib.dll with the ANSI export alone: only names that code page spells exactly.
  const auto ansi_bmp = ExactSpelling(*bmp, CP_ACP);
  const auto ansi_jpeg = ExactSpelling(*jpeg, CP_ACP);
  if (!ansi_bmp || !ansi_jpeg) return kUnspellable;
  return reinterpret_cast<BmpToJpegFunction>(entry_)(ansi_bmp->c_str(), ansi_jpeg->c_str(), level);
}

}  // namespace trelvin
