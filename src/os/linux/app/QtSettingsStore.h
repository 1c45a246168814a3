#pragma once

#include <map>
#include <string>

#include <QDateTime>
#include <QString>
#include <QVariant>

#include "core/services/SettingsStore.h"

namespace trelvin {

// The settings as a QSettings file per application: ${XDG_CONFIG_HOME:-~/.config}/APP/APP.conf,
// one group per section. A file that cannot be read or parsed reads as if its keys were missing.
// The file is read once, at the first read, and written once per Save: one temporary file and one
// rename, so the file on disk always holds either all the old values or all the new ones.
class QtSettingsStore : public SettingsStore {
 public:
  // `config_home` overrides the configuration directory (tests); empty means the XDG rule.
  explicit QtSettingsStore(std::string config_home = "");

  std::optional<std::string> ReadSetting(const std::string& app, const std::string& section,
                                         const std::string& key,
                                         const std::string& default_value) override;
  bool WriteSetting(const std::string& app, const std::string& section, const std::string& key,
                    const std::string& value) override;
  bool Save() override;

  std::string FilePath(const std::string& app) const;

 private:
  // What one application's file held when it was read, and the values written since.
  struct AppFile {
    bool read = false;
    // The file as read could not be parsed; with its size and time, to know it is still that one.
    bool damaged = false;
    qint64 size = -1;
    QDateTime modified;
    std::map<QString, QVariant> stored;
    std::map<QString, QString> pending;
  };
  AppFile& Load(const std::string& app);
  bool SaveApp(const std::string& app, AppFile& file);

  std::string config_home_;
  std::map<std::string, AppFile> apps_;
};

}  // namespace trelvin
