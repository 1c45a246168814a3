#include "os/windows/app/WinPaths.h"

// First: the other system headers build on it.
#include "os/windows/WinApi.h"

#include <shlobj.h>

#include <vector>

namespace trelvin {

namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// The length of the root of `path`: "C:\" (3), "\\server\share\" (up to and with the separator
// after the share), "\" (1), or 0 for a relative path.
std::size_t RootLength(std::wstring_view path) {
  if (path.size() >= 2 && path[1] == L':') {
    return path.size() >= 3 && IsSeparator(path[2]) ? 3 : 2;
  }
  if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
    std::size_t i = 2;
    for (int part = 0; part < 2 && i < path.size(); ++part) {
      while (i < path.size() && !IsSeparator(path[i])) ++i;
      if (i < path.size()) ++i;
    }
    return i;
  }
  return !path.empty() && IsSeparator(path[0]) ? 1 : 0;
}

}  // namespace

std::wstring DirectoryOfPath(std::wstring_view path) {
  const std::size_t root = RootLength(path);
  std::size_t end = path.size();
  while (end > root && !IsSeparator(path[end - 1])) --end;  // the name
  while (end > root && IsSeparator(path[end - 1])) --end;   // the separators before it
  return std::wstring(path.substr(0, end));
}

std::wstring ExecutablePath() {
  // Paths may exceed MAX_PATH: grow until the name fits.
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return L"";
    if (n < buffer.size()) return std::wstring(buffer.data(), n);
    if (buffer.size() >= 32768) return L"";
    buffer.resize(buffer.size() * 2);
  }
}

std::wstring KnownFolder(const KNOWNFOLDERID& id) {
  PWSTR path = nullptr;
  std::wstring folder;
  if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &path)) && path) folder = path;
  if (path) CoTaskMemFree(path);
  while (folder.size() > 3 && folder.back() == L'\\') folder.pop_back();
  return folder;
}

std::wstring LocalTrelvinFolder() {
  PWSTR local = nullptr;
  if (FAILED(SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_CREATE, nullptr, &local))) {
    if (local) CoTaskMemFree(local);
    return L"";
  }
  std::wstring folder = local;
  CoTaskMemFree(local);
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  folder += L"Trelvin\\";
  CreateDirectoryW(folder.c_str(), nullptr);  // an existing folder is what we want, too
  return folder;
}

}  // namespace trelvin
