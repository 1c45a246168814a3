#pragma once

#include <string>

#include "core/services/SettingsStore.h"

namespace trelvin {

// The settings in the current user's registry: one key per application and section beneath
// `base` (by default where the original program's runtime kept them, so earlier settings carry
// over), one REG_SZ value per setting.
class WinSettingsStore : public SettingsStore {
 public:
  static constexpr const wchar_t* kDefaultBase = L"Software\\VB and VBA Program Settings";

  explicit WinSettingsStore(std::wstring base = kDefaultBase);

  std::optional<std::string> ReadSetting(const std::string& app, const std::string& section,
                                         const std::string& key,
                                         const std::string& default_value) override;
  bool WriteSetting(const std::string& app, const std::string& section, const std::string& key,
                    const std::string& value) override;

 private:
  // The key path of `app` and `section`, or empty text when either cannot name one key.
  std::wstring KeyPath(const std::string& app, const std::string& section) const;

  std::wstring base_;
};

}  // namespace trelvin
