#pragma once

#include "core/services/FolderDialog.h"

namespace trelvin {

class QtWindowRuntime;

// QFileDialog::getExistingDirectory owned by the form's window.
class QtFolderDialog : public FolderDialog {
 public:
  explicit QtFolderDialog(QtWindowRuntime& runtime) : runtime_(runtime) {}
  std::string BrowseForFolder(const Form& owner, const std::string& title) override;

 private:
  QtWindowRuntime& runtime_;
};

}  // namespace trelvin
