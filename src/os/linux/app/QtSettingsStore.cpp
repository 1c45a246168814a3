#include "os/linux/app/QtSettingsStore.h"

#include <algorithm>
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

QString KeyPath(const std::string& section, const std::string& key) {
  return QString::fromStdString(section) + "/" + QString::fromStdString(key);
}

}  // namespace

QtSettingsStore::QtSettingsStore(std::string config_home) : config_home_(std::move(config_home)) {}

std::string QtSettingsStore::FilePath(const std::string& app) const {
  const std::string home = config_home_.empty() ? ConfigHome() : config_home_;
  return home + "/" + app + "/" + app + ".conf";
}

QtSettingsStore::AppFile& QtSettingsStore::Load(const std::string& app) {
  AppFile& file = apps_[app];
  if (file.read) return file;
  file.read = true;
  const QString path = QString::fromStdString(FilePath(app));
  if (!QFileInfo(path).isFile()) return file;
  const QSettings settings(path, QSettings::IniFormat);
  for (const QString& key : settings.allKeys()) file.stored[key] = settings.value(key);
  if (settings.status() == QSettings::FormatError) {
    const QFileInfo info(path);
    file.damaged = true;
    file.size = info.size();
    file.modified = info.lastModified();
  }
  return file;
}

std::optional<std::string> QtSettingsStore::ReadSetting(const std::string& app,
                                                        const std::string& section,
                                                        const std::string& key,
                                                        const std::string& default_value) {
  const AppFile& file = Load(app);
  const QString path = KeyPath(section, key);
  if (auto it = file.pending.find(path); it != file.pending.end()) return it->second.toStdString();
  auto it = file.stored.find(path);
  if (it == file.stored.end()) return default_value;
  return it->second.toString().toStdString();
}

bool QtSettingsStore::WriteSetting(const std::string& app, const std::string& section,
                                   const std::string& key, const std::string& value) {
  apps_[app].pending[KeyPath(section, key)] = QString::fromStdString(value);
  return true;
}

bool QtSettingsStore::Save() {
  bool saved = true;
  for (auto& [app, file] : apps_) {
    if (!file.pending.empty() && !SaveApp(app, file)) saved = false;
  }
  return saved;
}

bool QtSettingsStore::SaveApp(const std::string& app, AppFile& file) {
  const QString path = QString::fromStdString(FilePath(app));
  if (!QDir().mkpath(QFileInfo(path).absolutePath())) return false;
  bool damaged = false;
  {
    QSettings probe(path, QSettings::IniFormat);
    probe.allKeys();  // the file is parsed lazily; this reports its format
    damaged = probe.status() == QSettings::FormatError;
  }
  // QSettings parses a file it has parsed before only when it changed, and reports its format only
  // then: the damage seen at the reading counts while the file is the same.
  const QFileInfo info(path);
  if (file.damaged && info.size() == file.size && info.lastModified() == file.modified) {
    damaged = true;
  }
  if (damaged) {
    // Keep the damaged file beside the new one, so nothing in it is lost, and start afresh with
    // what could be read of the sections being written.
    const QString kept = path + ".damaged";
    QFile::remove(kept);
    if (!QFile::rename(path, kept)) return false;
  }
  QSettings settings(path, QSettings::IniFormat);
  if (settings.status() != QSettings::NoError) return false;
  if (damaged) {
    for (const auto& [key, value] : file.stored) {
      const QString section = key.section('/', 0, 0) + "/";
      const bool written = std::any_of(file.pending.begin(), file.pending.end(),
                                       [&](const auto& p) { return p.first.startsWith(section); });
      if (written && !file.pending.count(key)) settings.setValue(key, value);
    }
  }
  for (const auto& [key, value] : file.pending) settings.setValue(key, value);
  // One sync: QSettings writes a temporary file and renames it over the old one; a failed write
  // leaves the old file as it was.
  settings.sync();
  if (settings.status() != QSettings::NoError || !settings.isWritable()) return false;
  for (const auto& [key, value] : file.pending) file.stored[key] = value;
  file.pending.clear();
  return true;
}

}  // namespace trelvin
