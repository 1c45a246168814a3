#pragma once

#include <string>

#include "core/controls/Form.h"

namespace trelvin {

// The platform's folder dialog.
class FolderDialog {
 public:
  virtual ~FolderDialog() = default;
  // Shows the modal dialog owned by `owner`, directories only, with `title`; the chosen
  // directory's file-system path, or empty text on cancel or when it has no such path.
  virtual std::string BrowseForFolder(const Form& owner, const std::string& title) = 0;
};

}  // namespace trelvin
