// The trace of swallowed step failures. ctest runs this suite twice: as part of the core tests
// (TRELVIN_TRACE unset: nothing is printed) and once more with TRELVIN_TRACE=1.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

#include "core/base/Guard.h"

namespace trelvin {
namespace {

bool TraceRequested() {
  const char* value = std::getenv("TRELVIN_TRACE");
  return value != nullptr && std::strcmp(value, "1") == 0;
}

std::string Expected(int line, const std::string& what) {
  if (!TraceRequested()) return "";
  return std::string(__FILE__) + ":" + std::to_string(line) + ": " + what + "\n";
}

TEST(StepTraceTest, FailedRequirementNamesTheStepsFileAndLine) {
  ::testing::internal::CaptureStderr();
  const int line = __LINE__ + 1;
  const bool done = Step([] { Require(false); });
  const std::string printed = ::testing::internal::GetCapturedStderr();
  EXPECT_FALSE(done);
  EXPECT_EQ(printed, Expected(line, "step failed"));
  EXPECT_EQ(StepTraceEnabled(), TraceRequested());
}

TEST(StepTraceTest, ExceptionTextIsWhatFailedAndNestedFailuresAreTracedWhereTheyAreCaught) {
  ::testing::internal::CaptureStderr();
  int inner_line = 0;
  const bool outer = Step([&] {
    inner_line = __LINE__ + 1;
    Step([] { throw std::runtime_error("disk full"); });
  });
  const int other_line = __LINE__ + 1;
  Step([] { throw 42; });
  const std::string printed = ::testing::internal::GetCapturedStderr();
  EXPECT_TRUE(outer);
  EXPECT_EQ(printed, Expected(inner_line, "disk full") + Expected(other_line, "step failed"));
}

TEST(StepTraceTest, CompletedStepsPrintNothing) {
  ::testing::internal::CaptureStderr();
  int runs = 0;
  for (int i = 0; i < 1000; ++i) Step([&] { ++runs; });
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(runs, 1000);
}

}  // namespace
}  // namespace trelvin
