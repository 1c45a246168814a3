// The trace of swallowed step failures. ctest runs this suite twice: as part of the core tests
// (TRELVIN_TRACE unset: nothing is printed) and once more with TRELVIN_TRACE=1.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

#include "core/base/Guard.h"
#include "core/services/FailureLog.h"
#include "fakes/FakePlatform.h"

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

// Installed as the process's sink, the log gets every swallowed failure as one line with the
// time, and moves the file aside once (replacing the older generation) before it would grow past
// its limit.
TEST(StepTraceTest, FailureLogKeepsTimedLinesWithinItsLimit) {
  fakes::FakeFileSystem files;
  fakes::FakeClock clock;
  const std::string path = NativePath("/state/trelvin.log");
  FailureLog log(files, clock, path, 300);
  ::testing::internal::CaptureStderr();
  {
    const ScopedFailureSink installed(log);
    const int line = __LINE__ + 1;
    Step([] { Require(false, "the folder is gone"); });
    const std::string text(files.files[path].begin(), files.files[path].end());
    EXPECT_TRUE(text.starts_with("2026-12-07 13:05:09 ")) << text;
    EXPECT_TRUE(
        text.ends_with("step_trace_test.cpp:" + std::to_string(line) + ": the folder is gone\n"))
        << text;
    for (int i = 0; i < 40; ++i) Step([] { throw std::runtime_error("disk full"); });
  }
  Step([] { Require(false); });  // no sink any more
  ::testing::internal::GetCapturedStderr();
  ASSERT_TRUE(files.Has(path + ".1"));
  EXPECT_LE(files.files[path].size(), 300u);
  EXPECT_LE(files.files[path + ".1"].size(), 300u);
  EXPECT_GT(files.files[path + ".1"].size(), 200u);
  const std::string last(files.files[path].begin(), files.files[path].end());
  EXPECT_TRUE(last.ends_with(": disk full\n")) << last;
}

}  // namespace
}  // namespace trelvin
