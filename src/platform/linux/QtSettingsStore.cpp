#include "platform/linux/QtSettingsStore.h"

#include <cstdlib>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

namespace trelvin {

namespace {

std::string ConfigHome() {
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/') return xdg;
  const char* home = std::getenv("HOME");
  return std::string(home ? home : "") + "/.config";
}

}  // namespace

QtSettingsStore::QtSettingsStore(std::string config_home) : config_home_(std::move(config_home)) {}

std::string QtSettingsStore::FilePath(const std::string& app) const {
  const std::string home = config_home_.empty() ? ConfigHome() : config_home_;
  return home + "/" + app + "/" + app + ".conf";
}

std::optional<std::string> QtSettingsStore::ReadSetting(const std::string& app,
                                                        const std::string& section,
                                                        const std::string& key,
                                                        const std::string& default_value) {
  const QString path = QString::fromStdString(FilePath(app));
  if (!QFileInfo(path).isFile()) return default_value;
  QSettings settings(path, QSettings::IniFormat);
  settings.beginGroup(QString::fromStdString(section));
  const QString qkey = QString::fromStdString(key);
  if (!settings.contains(qkey)) return default_value;
  return settings.value(qkey).toString().toStdString();
}

bool QtSettingsStore::WriteSetting(const std::string& app, const std::string& section,
                                   const std::string& key, const std::string& value) {
  const QString path = QString::fromStdString(FilePath(app));
  if (!QDir().mkpath(QFileInfo(path).absolutePath())) return false;
  bool damaged = false;
  {
    QSettings probe(path, QSettings::IniFormat);
    probe.allKeys();  // the file is parsed lazily; this reports its format
    damaged = probe.status() == QSettings::FormatError;
  }
  if (damaged) {
    // QSettings will not write over a file it cannot parse. Keep the damaged file beside the new
    // one, so nothing in it is lost, and start afresh.
    const QString kept = path + ".damaged";
    QFile::remove(kept);
    if (!QFile::rename(path, kept)) return false;
  }
  QSettings settings(path, QSettings::IniFormat);
  if (settings.status() != QSettings::NoError) return false;
  settings.beginGroup(QString::fromStdString(section));
  settings.setValue(QString::fromStdString(key), QString::fromStdString(value));
  settings.endGroup();
  // QSettings replaces the file through a temporary file, so a crash never leaves half of it.
  settings.sync();
  return settings.status() == QSettings::NoError && settings.isWritable();
}

}  // namespace trelvin
