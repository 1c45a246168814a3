#pragma once

#include "core/services/FolderDialog.h"

namespace trelvin {

class WinWindowRuntime;

// The shell's folder dialog (SHBrowseForFolderW), file-system folders only, owned by the form's
// window.
class WinFolderDialog : public FolderDialog {
 public:
  explicit WinFolderDialog(WinWindowRuntime& runtime) : runtime_(runtime) {}

  std::string BrowseForFolder(const Form& owner, const std::string& title) override;

 private:
  WinWindowRuntime& runtime_;
};

}  // namespace trelvin
