// The converter's source file on Windows. Its paths are UTF-8, as the temporary-file writer takes
// them; the ANSI export's callers' paths come through WriterPath, the wide export's are UTF-16.
#include <windows.h>

#include "SourceFile.h"

namespace trelvin::bmp {

namespace {

std::wstring FromCodePage(UINT code_page, const char* text) {
  const int n = MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, text, -1, nullptr, 0);
  if (n <= 1) return {};
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, text, -1, wide.data(), n);
  wide.resize(static_cast<std::size_t>(n - 1));
  return wide;
}

HANDLE AsHandle(std::intptr_t value) { return reinterpret_cast<HANDLE>(value); }

// The volume and file index that identify a file whatever name reaches it.
bool FileIdentity(HANDLE file, BY_HANDLE_FILE_INFORMATION& info) {
  return GetFileInformationByHandle(file, &info) != 0;
}

}  // namespace

SourceFile::SourceFile(const char* path) {
  const std::wstring wide = FromCodePage(CP_UTF8, path);
  if (wide.empty()) return;
  // Others may read, write or rename the file meanwhile, as a POSIX open allows.
  HANDLE file = CreateFileW(wide.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  LARGE_INTEGER size{};
  if (GetFileType(file) != FILE_TYPE_DISK || !GetFileSizeEx(file, &size) || size.QuadPart < 0) {
    CloseHandle(file);
    return;
  }
  handle_ = reinterpret_cast<std::intptr_t>(file);
  size_ = static_cast<std::uint64_t>(size.QuadPart);
}

SourceFile::~SourceFile() {
  if (handle_ != kNoHandle) CloseHandle(AsHandle(handle_));
}

bool SourceFile::ReadAt(std::uint64_t offset, void* out, std::size_t n) {
  auto* p = static_cast<std::uint8_t*>(out);
  while (n > 0) {
    const DWORD chunk = n > 0x40000000u ? 0x40000000u : static_cast<DWORD>(n);
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD got = 0;
    if (!ReadFile(AsHandle(handle_), p, chunk, &got, &at) || got == 0) return false;
    p += got;
    offset += got;
    n -= got;
  }
  return true;
}

bool SourceFile::IsSameFile(const char* path) const {
  const std::wstring wide = FromCodePage(CP_UTF8, path);
  if (wide.empty()) return false;
  HANDLE other =
      CreateFileW(wide.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (other == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION mine{};
  BY_HANDLE_FILE_INFORMATION theirs{};
  const bool same = FileIdentity(AsHandle(handle_), mine) && FileIdentity(other, theirs) &&
                    mine.dwVolumeSerialNumber == theirs.dwVolumeSerialNumber &&
                    mine.nFileIndexHigh == theirs.nFileIndexHigh &&
                    mine.nFileIndexLow == theirs.nFileIndexLow;
  CloseHandle(other);
  return same;
}

std::string SourceFile::WriterPath(const char* path) {
  // The temporary-file writer takes UTF-8. Also right where the ANSI code page is UTF-8 itself.
  const std::wstring wide = FromCodePage(CP_ACP, path);
  if (wide.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr,
                                    0, nullptr, nullptr);
  if (n <= 0) return {};
  std::string utf8(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), n,
                      nullptr, nullptr);
  return utf8;
}

}  // namespace trelvin::bmp
