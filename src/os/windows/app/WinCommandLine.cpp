#include "os/windows/app/WinCommandLine.h"

#include "os/windows/WinApi.h"

#include "os/windows/WinText.h"

namespace trelvin {

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

}  // namespace

std::wstring ArgumentTextOf(std::wstring_view command_line) {
  std::size_t i = 0;
  if (!command_line.empty() && command_line[0] == L'"') {
    // A quoted name ends at the next quote (a name cannot contain one); an unclosed quote takes
    // the whole line.
    const std::size_t close = command_line.find(L'"', 1);
    i = close == std::wstring_view::npos ? command_line.size() : close + 1;
  }
  // Characters right after a closing quote still belong to the name, up to the first blank.
  while (i < command_line.size() && !IsBlank(command_line[i])) ++i;
  while (i < command_line.size() && IsBlank(command_line[i])) ++i;
  return std::wstring(command_line.substr(i));
}

std::string ProcessArgumentText() {
  const wchar_t* line = GetCommandLineW();
  return Narrow(ArgumentTextOf(line ? line : L""));
}

}  // namespace trelvin
