#include "os/windows/app/WinSettingsStore.h"

#include "os/windows/WinApi.h"

#include <vector>

#include "os/windows/WinText.h"

namespace trelvin {

namespace {

// Text that converts to UTF-16 without loss and holds no NUL (which would cut a REG_SZ short).
bool ToRegistryText(const std::string& utf8, std::wstring& wide) {
  if (utf8.find('\0') != std::string::npos) return false;
  if (utf8.empty()) {
    wide.clear();
    return true;
  }
  const int size = static_cast<int>(utf8.size());
  const int length =
      MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, nullptr, 0);
  if (length <= 0) return false;
  wide.assign(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, wide.data(), length);
  return true;
}

class Key {
 public:
  Key() = default;
  ~Key() {
    if (key_) RegCloseKey(key_);
  }
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  HKEY* out() { return &key_; }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

}  // namespace

WinSettingsStore::WinSettingsStore(std::wstring base) : base_(std::move(base)) {}

std::wstring WinSettingsStore::KeyPath(const std::string& app, const std::string& section) const {
  std::wstring wide_app, wide_section;
  // A "\" would reach into another key; an empty name would be the parent itself.
  if (app.empty() || section.empty() || app.find('\\') != std::string::npos ||
      section.find('\\') != std::string::npos || !ToRegistryText(app, wide_app) ||
      !ToRegistryText(section, wide_section)) {
    return L"";
  }
  return base_ + L"\\" + wide_app + L"\\" + wide_section;
}

std::optional<std::string> WinSettingsStore::ReadSetting(const std::string& app,
                                                         const std::string& section,
                                                         const std::string& key,
                                                         const std::string& default_value) {
  const std::wstring path = KeyPath(app, section);
  std::wstring name;
  if (path.empty() || key.empty() || !ToRegistryText(key, name)) return std::nullopt;
  Key handle;
  LSTATUS status = RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, handle.out());
  if (status == ERROR_FILE_NOT_FOUND) return default_value;
  if (status != ERROR_SUCCESS) return std::nullopt;

  // The value may change between the size query and the read: try again while it grows.
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD type = 0;
    DWORD bytes = 0;
    status = RegQueryValueExW(handle.get(), name.c_str(), nullptr, &type, nullptr, &bytes);
    if (status == ERROR_FILE_NOT_FOUND) return default_value;
    if (status != ERROR_SUCCESS) return std::nullopt;
    // Only text is a setting; a value of another type left by something else is no setting.
    if (type != REG_SZ && type != REG_EXPAND_SZ) return default_value;
    // Room for every stored byte, an odd last one included (other programs store such values;
    // rounding down asked for one byte too few, and the read failed every time).
    std::vector<wchar_t> buffer((bytes + 1) / sizeof(wchar_t) + 1, L'\0');
    DWORD size = static_cast<DWORD>((buffer.size() - 1) * sizeof(wchar_t));
    status = RegQueryValueExW(handle.get(), name.c_str(), nullptr, &type,
                              reinterpret_cast<BYTE*>(buffer.data()), &size);
    if (status == ERROR_MORE_DATA) continue;
    if (status == ERROR_FILE_NOT_FOUND) return default_value;
    if (status != ERROR_SUCCESS) return std::nullopt;
    // The stored text may or may not carry its terminating NUL; it ends at the first one. An odd
    // last byte is the low half of a character whose high half is 0.
    std::wstring_view text(buffer.data(), (size + 1) / sizeof(wchar_t));
    text = text.substr(0, text.find(L'\0'));
    return Narrow(text);
  }
  return std::nullopt;
}

bool WinSettingsStore::WriteSetting(const std::string& app, const std::string& section,
                                    const std::string& key, const std::string& value) {
  const std::wstring path = KeyPath(app, section);
  std::wstring name, text;
  if (path.empty() || key.empty() || !ToRegistryText(key, name) || !ToRegistryText(value, text))
    return false;
  Key handle;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_SET_VALUE, nullptr, handle.out(), nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const DWORD bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
  return RegSetValueExW(handle.get(), name.c_str(), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(text.c_str()), bytes) == ERROR_SUCCESS;
}

}  // namespace trelvin
