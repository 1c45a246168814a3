#pragma once

#include <string>
#include <string_view>

// The system's GUID, without the system headers (see WinApi.h for why those come first).
struct _GUID;

namespace trelvin {

// The directory part of a full file path: without a trailing "\", except for a drive's root
// ("C:\") and the root of a share ("\\server\share\"), which keep it.
std::wstring DirectoryOfPath(std::wstring_view path);

// The full path of the running executable.
std::wstring ExecutablePath();

// A known folder of the user (FOLDERID_Pictures, ...), without a trailing "\"; empty when the
// system names none.
std::wstring KnownFolder(const _GUID& id);

// The user's local application data folder with "Trelvin\" below it, created when missing;
// empty when the system names no such folder.
std::wstring LocalTrelvinFolder();

}  // namespace trelvin
