#pragma once

#include <string>

namespace trelvin::test {

// Arguments that make the capture test program play a second process instead of running tests.
// --stand-in-window TITLE [TITLE2] REPORT: shows top-level windows with these titles and writes
// to REPORT "ready" once shown, then, at each Enter, "enter N" (N so far, for either window);
// ends when the first window is closed.
inline constexpr const char* kStandInWindow = "--stand-in-window";

int RunStandInWindow(int argc, char** argv);

// The whole content of a file, or empty.
std::string ReadText(const std::wstring& path);

}  // namespace trelvin::test
