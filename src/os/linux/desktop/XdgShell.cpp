#include "os/linux/desktop/XdgShell.h"

#include <unistd.h>

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace trelvin {

namespace {

bool IsUrl(const QString& target) {
  const QUrl url(target, QUrl::StrictMode);
  return url.isValid() && url.scheme().size() > 1 && !url.host().isEmpty();
}

}  // namespace

bool XdgShell::ShellExecute(const std::string& target, const std::string& working_directory,
                            int show_command) {
  (void)show_command;  // the desktop decides how a started program shows itself
  return Open(target, working_directory, false);
}

bool XdgShell::StartProgram(const std::string& path, const std::string& working_directory,
                            int show_command) {
  (void)show_command;
  return Open(path, working_directory, true);
}

bool XdgShell::Open(const std::string& target, const std::string& working_directory,
                    bool run_programs) {
  if (target.empty()) return false;
  const QString qtarget = QString::fromStdString(target);
  const QString dir = QString::fromStdString(working_directory);
  if (IsUrl(qtarget)) return QProcess::startDetached("xdg-open", {qtarget}, dir);

  QFileInfo info(qtarget);
  if (info.isRelative() && !dir.isEmpty()) info = QFileInfo(dir + "/" + qtarget);
  if (!info.exists()) return false;
  const QString path = info.absoluteFilePath();
  if (!run_programs) return QProcess::startDetached("xdg-open", {path}, dir);
  if (info.isFile() && info.isExecutable()) return QProcess::startDetached(path, {}, dir);
  if (info.isFile() && info.suffix().compare("exe", Qt::CaseInsensitive) == 0) {
    const QString wine = QStandardPaths::findExecutable("wine");
    if (!wine.isEmpty()) return QProcess::startDetached(wine, {path}, dir);
  }
  return QProcess::startDetached("xdg-open", {path}, dir);
}

}  // namespace trelvin
