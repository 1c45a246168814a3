#pragma once

#include <string>

namespace trelvin {

// Arguments that make the test program play a second process instead of running the tests.
inline constexpr const char* kInstanceProbe = "--instance-probe";    // the program lock's answer
inline constexpr const char* kPrintArguments = "--print-arguments";  // prints the argument text
inline constexpr int kExitAnotherRuns = 3;
inline constexpr int kExitFirst = 4;

struct ChildResult {
  int exit_code = -1;
  std::string output;
};

// Runs this test program again with the raw command-line tail `arguments` (after its quoted
// path) and waits for it.
ChildResult RunSelf(const std::wstring& arguments);

}  // namespace trelvin
