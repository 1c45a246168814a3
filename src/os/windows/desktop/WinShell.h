#pragma once

#include "core/services/Shell.h"

namespace trelvin {

// Opening documents, addresses, folders and programs with ShellExecuteW: no owner, the default
// verb, no parameters.
class WinShell : public Shell {
 public:
  bool ShellExecute(const std::string& target, const std::string& working_directory,
                    int show_command) override;
};

}  // namespace trelvin
