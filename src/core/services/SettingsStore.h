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
  // Stores `value` (lasting once saved), creating the application and section as needed; false when
  // it cannot.
  virtual bool WriteSetting(const std::string& app, const std::string& section,
                            const std::string& key, const std::string& value) = 0;
  // Makes the values written since the last save lasting, all of them together or, when that
  // fails, none; false then. A store whose writes last at once has nothing left to do.
  virtual bool Save() { return true; }
};

}  // namespace trelvin
