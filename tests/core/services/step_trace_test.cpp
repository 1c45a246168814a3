// The trace of swallowed step failures. ctest runs this suite twice: as part of the core tests
// (TRELVIN_TRACE unset: nothing is printed) and once more with TRELVIN_TRACE=1.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>
#include <thread>

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
  int runs = 0;
  for (int i = 0; i < 1000; ++i) Step([&] { ++runs; });  // completed steps print nothing
  EXPECT_EQ(runs, 1000);
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

// Installed as the process's sink, the log gets every swallowed failure as one line with the
// time, and moves the file aside once (replacing the older generation) before it would grow past
// its limit.
TEST(StepTraceTest, FailureLogKeepsTimedLinesWithinItsLimit) {
  fakes::FakeFileSystem files;
  fakes::FakeClock clock;
  fakes::FakeFileLock lock;
  const std::string path = NativePath("/state/trelvin.log");
  FailureLog log(files, clock, lock, path, 300);
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

// Two processes write one log (a screen-saver module beside the settings window). One that found
// the log full moves it aside only if it is still full once it holds the lock, so the older half
// the other moved meanwhile is kept; a move that cannot be made stops the writing, not the bound.
TEST(StepTraceTest, FailureLogMovesAsideOnceUnderItsLockAndANeededMoveThatFailsDropsTheLine) {
  fakes::FakeFileSystem files;
  fakes::FakeClock clock;
  fakes::FakeFileLock lock;
  const std::string path = NativePath("/state/trelvin.log"), older = "2026-12-07 13:05:09 older\n";
  FailureLog settings(files, clock, lock, path, 100), module(files, clock, lock, path, 100);
  auto text = [&](const std::string& name) {
    return std::string(files.files[name].begin(), files.files[name].end());
  };
  for (int i = 0; i < 3; ++i) settings.Write("older");
  // A thread writes one line at a time, so the other process writes from a thread of its own.
  lock.before_lock = [&] { std::thread([&] { settings.Write("newer"); }).join(); };
  module.Write("module");
  EXPECT_EQ(text(path + ".1"), older + older + older);
  EXPECT_TRUE(text(path).ends_with(" newer\n2026-12-07 13:05:09 module\n")) << text(path);
  for (const bool rename_fails : {true, false}) {
    files.rename_fails = rename_fails, lock.fails = !rename_fails;
    for (int i = 0; i < 10; ++i) module.Write("full");
    EXPECT_LE(files.files[path].size(), 100u);
    EXPECT_EQ(text(path + ".1"), older + older + older);
  }
  lock.fails = false;
  module.Write("room again");
  EXPECT_TRUE(text(path + ".1").ends_with(" full\n") && lock.held.empty());
}

}  // namespace
}  // namespace trelvin
