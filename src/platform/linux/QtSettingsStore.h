#pragma once

#include <string>

#include "platform/services/SettingsStore.h"

namespace trelvin {

// The settings as a QSettings file per application: ${XDG_CONFIG_HOME:-~/.config}/APP/APP.conf,
// one group per section. A file that cannot be read or parsed reads as if its keys were missing.
class QtSettingsStore : public SettingsStore {
 public:
  // `config_home` overrides the configuration directory (tests); empty means the XDG rule.
  explicit QtSettingsStore(std::string config_home = "");

  std::optional<std::string> ReadSetting(const std::string& app, const std::string& section,
                                         const std::string& key,
                                         const std::string& default_value) override;
  bool WriteSetting(const std::string& app, const std::string& section, const std::string& key,
                    const std::string& value) override;

  std::string FilePath(const std::string& app) const;

 private:
  std::string config_home_;
};

}  // namespace trelvin
