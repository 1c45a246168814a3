// The Windows tests' entry: GoogleTest, or one of the child roles the tests start this program in
// to see what a second process sees.
#include <cstdio>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "os/windows/app/WinCommandLine.h"
#include "os/windows/app/WinInstanceLock.h"
#include "windows/ChildRoles.h"

int main(int argc, char** argv) {
  using namespace trelvin;
  if (argc >= 2 && std::strcmp(argv[1], kInstanceProbe) == 0) {
    WinInstanceLock lock;
    return lock.AnotherInstanceRunning() ? kExitAnotherRuns : kExitFirst;
  }
  if (argc >= 2 && std::strcmp(argv[1], kPrintArguments) == 0) {
    std::fputs(ProcessArgumentText().c_str(), stdout);
    return 0;
  }
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
