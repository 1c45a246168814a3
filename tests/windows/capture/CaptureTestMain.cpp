// The capture tests' entry: GoogleTest, or one of the second processes the tests start.
#include <cstring>

#include <gtest/gtest.h>

#include "StandIn.h"

int main(int argc, char** argv) {
  using namespace trelvin::test;
  if (argc >= 2 && std::strcmp(argv[1], kStandInWindow) == 0) return RunStandInWindow(argc, argv);
  if (argc >= 2 && std::strcmp(argv[1], kPrintDirectory) == 0) {
    return RunPrintDirectory(argc, argv);
  }
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
