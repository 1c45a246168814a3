#pragma once

#include <string>
#include <string_view>

namespace trelvin {

// The directory part of a full file path: without a trailing "\", except for a drive's root
// ("C:\") and the root of a share ("\\server\share\"), which keep it.
std::wstring DirectoryOfPath(std::wstring_view path);

// The full path of the running executable.
std::wstring ExecutablePath();

// The user's local application data folder with "Trelvin\" below it, created when missing;
// empty when the system names no such folder.
std::wstring LocalTrelvinFolder();

}  // namespace trelvin
