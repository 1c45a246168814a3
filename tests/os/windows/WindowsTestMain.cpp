// The entry of every Windows test program: the common controls the window runtime uses, then
// GoogleTest, or one of the second processes the tests start this program as.
#include <cstdio>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "os/windows/ChildRoles.h"
#include "os/windows/WinApi.h"
#include "os/windows/app/WinCommandLine.h"
#include "os/windows/app/WinInstanceLock.h"
#include "os/windows/capture/StandIn.h"

#include <commctrl.h>

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
  if (argc >= 2 && std::strcmp(argv[1], test::kStandInWindow) == 0) {
    return test::RunStandInWindow(argc, argv);
  }
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
