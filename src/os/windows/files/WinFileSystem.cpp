#include "os/windows/files/WinFileSystem.h"

#include "os/windows/WinApi.h"

#include <filesystem>
#include <string>
#include <system_error>

#include "atomicfile/TempFile.h"
#include "core/base/PatternMatch.h"
#include "os/windows/WinText.h"
#include "os/windows/app/WinPaths.h"

namespace trelvin {

namespace {

struct FileIdentity {
  DWORD volume = 0;
  DWORD high = 0;
  DWORD low = 0;
};

bool IdentityOf(HANDLE file, FileIdentity& identity) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(file, &info)) return false;
  identity = {info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
  return true;
}

}  // namespace

std::optional<std::int64_t> WinFileSystem::FileLength(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (path.empty() || !GetFileAttributesExW(Widen(path).c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return std::nullopt;
  }
  return static_cast<std::int64_t>((static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) |
                                   data.nFileSizeLow);
}

bool WinFileSystem::DeleteFile(const std::string& path) {
  return !path.empty() && DeleteFileW(Widen(path).c_str()) != 0;
}

bool WinFileSystem::CopyFile(const std::string& from, const std::string& to) {
  if (from.empty() || to.empty()) return false;
  HANDLE in = CreateFileW(Widen(from).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                          nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (in == INVALID_HANDLE_VALUE) return false;
  struct Closer {
    HANDLE h;
    ~Closer() { CloseHandle(h); }
  } closer{in};
  FileIdentity source;
  if (!IdentityOf(in, source)) return false;
  const std::wstring target = Widen(to);
  HANDLE existing =
      CreateFileW(target.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (existing != INVALID_HANDLE_VALUE) {
    FileIdentity destination;
    const bool known = IdentityOf(existing, destination);
    CloseHandle(existing);
    // The same file under another name: copying would destroy it.
    if (!known || (destination.volume == source.volume && destination.high == source.high &&
                   destination.low == source.low)) {
      return false;
    }
  }
  TempFile temp(to);
  if (!temp.ok()) return false;
  std::uint8_t buffer[1 << 16];
  for (;;) {
    DWORD read = 0;
    if (!ReadFile(in, buffer, sizeof buffer, &read, nullptr)) return false;
    if (read == 0) break;
    if (!temp.Write(buffer, read)) return false;
  }
  return temp.Commit();
}

bool WinFileSystem::WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  if (path.empty()) return false;
  TempFile temp(path);
  return temp.ok() && temp.Write(bytes.data(), bytes.size()) && temp.Commit();
}

bool WinFileSystem::WriteFileChunks(const std::string& path,
                                    const std::function<std::span<const std::uint8_t>()>& next) {
  return WriteWholeFile(path, next);
}

std::vector<std::string> WinFileSystem::FindFiles(const std::string& directory,
                                                  const std::string& pattern, std::size_t limit) {
  std::vector<std::string> names;
  if (limit == 0 || pattern.empty()) return names;
  std::wstring query = Widen(directory);
  if (!query.empty() && query.back() != L'\\' && query.back() != L'/' && query.back() != L':') {
    query += L'\\';
  }
  query += Widen(pattern);
  WIN32_FIND_DATAW data{};
  // The system's matching only narrows the listing: it also matches short names ("a.jpeg" under
  // "*.jpg"), and a share's server answers as it likes ("jpeglib.dll" under "*.jpg", which a copy
  // into the program's folder would then replace). Every name is checked again below.
  HANDLE find = FindFirstFileExW(query.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                                 nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    constexpr DWORD kSkipped =
        FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    if (data.dwFileAttributes & kSkipped) continue;
    std::string name = Narrow(data.cFileName);
    if (MatchesPattern(name, pattern)) names.push_back(std::move(name));
  } while (names.size() < limit && FindNextFileW(find, &data));
  FindClose(find);
  return names;
}

std::string WinFileSystem::ExecutableDirectory() {
  return Narrow(DirectoryOfPath(ExecutablePath()));
}

bool WinFileSystem::CanWriteDirectory(const std::string& directory) {
  const std::wstring folder = Widen(directory);
  const DWORD attributes = GetFileAttributesW(folder.c_str());
  if (directory.empty() || attributes == INVALID_FILE_ATTRIBUTES ||
      !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return false;
  }
  // Only a try answers for access lists, read-only volumes and Program Files alike: a hidden
  // file that goes when its handle closes.
  std::wstring probe = folder;
  if (!probe.empty() && probe.back() != L'\\') probe += L'\\';
  probe += L".trelvin-probe-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(GetTickCount64());
  HANDLE file = CreateFileW(
      probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
      FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

bool WinFileSystem::CreateDirectories(const std::string& directory) {
  if (directory.empty()) return false;
  std::error_code error;
  const std::filesystem::path folder(Widen(directory));
  std::filesystem::create_directories(folder, error);
  return std::filesystem::is_directory(folder, error);
}

bool WinFileSystem::AppendToFile(const std::string& path, const std::string& text) {
  if (path.empty()) return false;
  // Other processes append to the same log, and one may move it aside meanwhile.
  HANDLE file = CreateFileW(Widen(path).c_str(), FILE_APPEND_DATA,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok =
      ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
      written == text.size();
  return CloseHandle(file) && ok;
}

bool WinFileSystem::RenameFile(const std::string& from, const std::string& to) {
  return !from.empty() && !to.empty() &&
         MoveFileExW(Widen(from).c_str(), Widen(to).c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

}  // namespace trelvin
