#pragma once

#include <string>
#include <string_view>

namespace trelvin {

// The argument text of a command line: what follows the program's name (in quotes or not) and
// the blanks after it, as the system's own start-up code splits it.
std::wstring ArgumentTextOf(std::wstring_view command_line);

// The argument text of this process's command line, in UTF-8.
std::string ProcessArgumentText();

}  // namespace trelvin
