#include "os/linux/window/QtFolderDialog.h"

#include <QDir>
#include <QFileDialog>

#include "os/linux/window/QtWindowRuntime.h"

namespace trelvin {

std::string QtFolderDialog::BrowseForFolder(const Form& owner, const std::string& title) {
  const QString chosen =
      QFileDialog::getExistingDirectory(runtime_.WidgetFor(owner), QString::fromStdString(title),
                                        QString(), QFileDialog::ShowDirsOnly);
  if (chosen.isEmpty()) return "";
  // The root keeps its "/"; every other directory comes without a trailing one.
  return QDir::cleanPath(chosen).toStdString();
}

}  // namespace trelvin
