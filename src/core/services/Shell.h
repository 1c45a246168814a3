#pragma once

#include <string>

namespace trelvin {

// Show commands as the program passes them.
constexpr int kSwHide = 0;
constexpr int kSwShowNormal = 1;

// Opening documents, addresses, directories and programs with the desktop's default action.
class Shell {
 public:
  virtual ~Shell() = default;
  // Opens `target` (started detached, `working_directory` as its directory when not empty);
  // false when it could not be started.
  virtual bool ShellExecute(const std::string& target, const std::string& working_directory,
                            int show_command) = 0;
  // Like ShellExecute, for a program the user keeps beside this one (the emulator): a program
  // file is started itself. ShellExecute never runs a file, whatever its permissions say.
  virtual bool StartProgram(const std::string& path, const std::string& working_directory,
                            int show_command) {
    return ShellExecute(path, working_directory, show_command);
  }
};

}  // namespace trelvin
