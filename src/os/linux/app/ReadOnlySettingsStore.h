#pragma once

#include "core/services/SettingsStore.h"

namespace trelvin {

// A settings store that reads through to another one and keeps every write to itself: a screen
// saver started by a daemon reads the user's settings but never changes them.
class ReadOnlySettingsStore : public SettingsStore {
 public:
  explicit ReadOnlySettingsStore(SettingsStore& store) : store_(store) {}

  std::optional<std::string> ReadSetting(const std::string& app, const std::string& section,
                                         const std::string& key,
                                         const std::string& default_value) override;
  // Writes nothing and reports success, so the caller goes on as after a write.
  bool WriteSetting(const std::string& app, const std::string& section, const std::string& key,
                    const std::string& value) override;

 private:
  SettingsStore& store_;
};

}  // namespace trelvin
