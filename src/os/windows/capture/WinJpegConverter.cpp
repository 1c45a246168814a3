#include "os/windows/capture/WinJpegConverter.h"

#include <windows.h>

#include <optional>

#include "os/windows/WinText.h"

namespace trelvin {

namespace {

// BmpToJpeg as jpeglib.dll declares it.
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

// `wide` in the ANSI code page, or nothing when a character has no exact spelling there.
std::optional<std::string> ExactAnsi(const std::wstring& wide) {
  if (wide.empty()) return std::string();
  BOOL lossy = FALSE;
  const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(),
                                    static_cast<int>(wide.size()), nullptr, 0, nullptr, &lossy);
  if (n <= 0 || lossy) return std::nullopt;
  std::string ansi(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()),
                      ansi.data(), n, nullptr, &lossy);
  if (lossy) return std::nullopt;
  return ansi;
}

std::optional<std::wstring> ShortPath(const std::wstring& path) {
  const DWORD n = GetShortPathNameW(path.c_str(), nullptr, 0);
  if (n == 0) return std::nullopt;
  std::wstring out(n, L'\0');
  const DWORD m = GetShortPathNameW(path.c_str(), out.data(), n);
  if (m == 0 || m >= n) return std::nullopt;
  out.resize(m);
  return out;
}

// The path as the DLL takes it: ANSI as it is, else by the short form of the file (when it
// exists) or of its directory.
std::optional<std::string> AnsiPath(const std::string& utf8) {
  const std::wstring wide = Widen(utf8);
  if (auto exact = ExactAnsi(wide)) return exact;
  if (auto file = ShortPath(wide)) return ExactAnsi(*file);
  const auto slash = wide.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return std::nullopt;
  auto dir = ShortPath(wide.substr(0, slash + 1));
  if (!dir) return std::nullopt;
  return ExactAnsi(*dir + wide.substr(slash + 1));
}

}  // namespace

WinJpegConverter::WinJpegConverter(std::string dll_path) : dll_path_(std::move(dll_path)) {}

WinJpegConverter::~WinJpegConverter() {
  if (module_) FreeLibrary(static_cast<HMODULE>(module_));
}

bool WinJpegConverter::Load() {
  if (tried_) return entry_ != nullptr;
  tried_ = true;
  // By full path only, so no other jpeglib.dll on the search path is ever taken.
  const std::wstring path =
      dll_path_.empty() ? ProgramDirectory() + L"jpeglib.dll" : Widen(dll_path_);
  HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (!module) return false;
  FARPROC entry = GetProcAddress(module, "BmpToJpeg");
  if (!entry) {
    FreeLibrary(module);
    return false;
  }
  module_ = module;
  entry_ = reinterpret_cast<void*>(entry);
  return true;
}

int WinJpegConverter::BmpToJpeg(const std::string& bmp_path, const std::string& jpeg_path,
                                std::int16_t level) {
  if (!Load()) return kUnavailable;
  const auto bmp = AnsiPath(bmp_path);
  const auto jpeg = AnsiPath(jpeg_path);
  if (!bmp || !jpeg) return kUnspellable;
  const auto convert = reinterpret_cast<BmpToJpegFunction>(entry_);
  return convert(bmp->c_str(), jpeg->c_str(), level);
}

}  // namespace trelvin
