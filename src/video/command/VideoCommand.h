#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace trelvin::video {

// The trelvin-video command: its arguments (without the program's name) to an exit status.
// `terminal` says whether `err` is a terminal, where a progress bar is drawn; otherwise only the
// result and failures are written. 0 on success; otherwise one line on `err` says why.
int RunVideoCommand(const std::vector<std::string>& args, bool terminal, std::ostream& out,
                    std::ostream& err);

}  // namespace trelvin::video
