#include "os/windows/window/WinFolderDialog.h"

// First: the other system headers build on it.
#include "os/windows/WinApi.h"

#include <shlobj.h>

#include "os/windows/WinText.h"
#include "os/windows/window/WinWindowRuntime.h"

namespace trelvin {

std::string WinFolderDialog::BrowseForFolder(const Form& owner, const std::string& title) {
  const std::wstring prompt = Widen(title);
  BROWSEINFOW info{};
  info.hwndOwner = runtime_.HandleFor(owner);
  info.pidlRoot = nullptr;
  info.pszDisplayName = nullptr;
  info.lpszTitle = prompt.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  PIDLIST_ABSOLUTE list = SHBrowseForFolderW(&info);
  if (!list) return "";
  // Long paths: SHGetPathFromIDListEx takes the buffer's size.
  std::wstring path(32768, L'\0');
  const BOOL ok =
      SHGetPathFromIDListEx(list, path.data(), static_cast<DWORD>(path.size()), GPFIDL_DEFAULT);
  CoTaskMemFree(list);
  if (!ok) return "";
  path.resize(path.find(L'\0'));
  return Narrow(path);
}

}  // namespace trelvin
