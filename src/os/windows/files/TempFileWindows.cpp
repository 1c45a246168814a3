// The temporary-file writer on Windows. Paths are UTF-8 and go to the wide API; the temporary file
// sits beside the target, so MoveFileExW replaces the target in one step on the same volume.
#include <windows.h>

#include <cstdint>
#include <string>

#include "atomicfile/TempFile.h"
#include "atomicfile/TempName.h"

namespace trelvin {

namespace {

std::wstring Wide(const std::string& text) {
  if (text.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(),
                                    static_cast<int>(text.size()), nullptr, 0);
  if (n <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                      wide.data(), n);
  return wide;
}

// A name part that differs between writers of the same target, in this and other processes:
// the process and the moment, in 16 hexadecimal digits, so that the name stays short.
std::string UniqueSuffix(int attempt) {
  LARGE_INTEGER now{};
  QueryPerformanceCounter(&now);
  const unsigned long long mixed = (static_cast<unsigned long long>(GetCurrentProcessId()) << 40) ^
                                   static_cast<unsigned long long>(now.QuadPart) ^
                                   static_cast<unsigned long long>(attempt);
  char text[17];
  for (int i = 15; i >= 0; --i) text[15 - i] = "0123456789abcdef"[(mixed >> (4 * i)) & 0xF];
  text[16] = '\0';
  return text;
}

HANDLE AsHandle(std::intptr_t value) { return reinterpret_cast<HANDLE>(value); }

}  // namespace

TempFile::TempFile(const std::string& target) {
  const auto sep = target.find_last_of("\\/");
  const std::string dir = sep == std::string::npos ? "" : target.substr(0, sep + 1);
  base_ = sep == std::string::npos ? target : target.substr(sep + 1);
  if (base_.empty()) return;
  for (int attempt = 0; attempt < 100; ++attempt) {
    name_ = dir + TempName(base_, "~", UniqueSuffix(attempt), ".tmp");
    const std::wstring wide = Wide(name_);
    if (wide.empty()) return;
    HANDLE h = CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
      handle_ = reinterpret_cast<std::intptr_t>(h);
      break;
    }
    if (GetLastError() != ERROR_FILE_EXISTS) break;
  }
  created_ = handle_ >= 0;
  base_ = target;  // Windows renames by full path.
}

TempFile::~TempFile() {
  if (handle_ >= 0) CloseHandle(AsHandle(handle_));
  if (created_ && !committed_) DeleteFileW(Wide(name_).c_str());
}

bool TempFile::Write(const void* data, std::size_t size) {
  if (handle_ < 0) return false;
  const auto* p = static_cast<const std::uint8_t*>(data);
  while (size > 0) {
    const DWORD chunk = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!WriteFile(AsHandle(handle_), p, chunk, &written, nullptr) || written == 0) return false;
    p += written;
    size -= written;
  }
  return true;
}

bool TempFile::Seek(std::uint64_t offset) {
  if (handle_ < 0 || offset > static_cast<std::uint64_t>(INT64_MAX)) return false;
  LARGE_INTEGER to{};
  to.QuadPart = static_cast<LONGLONG>(offset);
  return SetFilePointerEx(AsHandle(handle_), to, nullptr, FILE_BEGIN) != 0;
}

bool TempFile::Commit(int /*permissions: Windows files have none*/) {
  if (handle_ < 0) return false;
  HANDLE h = AsHandle(handle_);
  handle_ = -1;
  // Only a file that must outlive a power cut is flushed (the JPEG): a capture's bitmap is
  // deleted a moment later, and flushing it cost a fifth of each capture.
  const bool flushed = !durable_ || FlushFileBuffers(h) != 0;
  if (!CloseHandle(h) || !flushed) return false;
  const DWORD through = durable_ ? MOVEFILE_WRITE_THROUGH : 0;
  if (!MoveFileExW(Wide(name_).c_str(), Wide(base_).c_str(), MOVEFILE_REPLACE_EXISTING | through)) {
    return false;
  }
  committed_ = true;
  return true;
}

}  // namespace trelvin
