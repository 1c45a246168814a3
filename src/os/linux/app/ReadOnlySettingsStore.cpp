#include "os/linux/app/ReadOnlySettingsStore.h"

namespace trelvin {

std::optional<std::string> ReadOnlySettingsStore::ReadSetting(const std::string& app,
                                                              const std::string& section,
                                                              const std::string& key,
                                                              const std::string& default_value) {
  return store_.ReadSetting(app, section, key, default_value);
}

bool ReadOnlySettingsStore::WriteSetting(const std::string&, const std::string&, const std::string&,
                                         const std::string&) {
  return true;
}

}  // namespace trelvin
