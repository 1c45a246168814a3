#pragma once

#include <optional>
#include <string>

namespace trelvin {

// The per-user application-settings store: (application, section, key) to text.
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // The stored text (also when empty) if the key exists, else `default_value`; nullopt when the
  // store cannot be read.
  virtual std::optional<std::string> ReadSetting(const std::string& app, const std::string& section,
                                                 const std::string& key,
                                                 const std::string& default_value) = 0;
  // Stores `value`, creating the application and section as needed; false when it cannot.
  virtual bool WriteSetting(const std::string& app, const std::string& section,
                            const std::string& key, const std::string& value) = 0;
};

}  // namespace trelvin
