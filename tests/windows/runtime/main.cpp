// The runtime tests' entry: the common controls the runtime uses, then GoogleTest.
#include <gtest/gtest.h>

#include "os/windows/WinApi.h"

#include <commctrl.h>

int main(int argc, char** argv) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
