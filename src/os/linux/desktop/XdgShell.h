#pragma once

#include "core/services/Shell.h"

namespace trelvin {

// Opens targets with the desktop's default application (xdg-open), detached, with an argument
// vector. Only StartProgram runs a file: an executable directly, a Windows program through Wine
// when present. ShellExecute never does, since on vfat or NTFS every file looks executable.
class XdgShell : public Shell {
 public:
  bool ShellExecute(const std::string& target, const std::string& working_directory,
                    int show_command) override;
  bool StartProgram(const std::string& path, const std::string& working_directory,
                    int show_command) override;

 private:
  bool Open(const std::string& target, const std::string& working_directory, bool run_programs);
};

}  // namespace trelvin
