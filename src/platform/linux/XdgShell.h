#pragma once

#include "platform/services/Shell.h"

namespace trelvin {

// Opens targets with the desktop's default application (xdg-open), detached, with an argument
// vector; executable files are started directly and Windows programs through Wine when present.
class XdgShell : public Shell {
 public:
  bool ShellExecute(const std::string& target, const std::string& working_directory,
                    int show_command) override;
};

}  // namespace trelvin
