// Started where no display can be opened (a cron job, an ssh session without forwarding).
#include <gtest/gtest.h>

#include <filesystem>

#include "e2e/Harness.h"

namespace trelvin::e2e {
namespace {

struct Outcome {
  int status = -1;
  std::string errors;
};

// Runs the program with `display` as DISPLAY (unset when empty) and returns its status and what
// it wrote to standard error.
Outcome RunWithDisplay(const TestHome& home, const std::string& display) {
  std::string env = "env -u WAYLAND_DISPLAY -u DISPLAY";
  for (const auto& [key, value] : home.Environment()) env += " " + key + "=" + Quote(value);
  if (!display.empty()) env += " DISPLAY=" + Quote(display);
  // Standard error to the pipe, standard output away; a core dump shows as a status above 128.
  const CommandResult result =
      Run("ulimit -c 0; " + env + " " + Quote(ExecutablePath()) + " /c 2>&1 >/dev/null");
  return {result.status, result.output};
}

// Unset or naming no display: one clear line (naming the display when there is one), status 1.
TEST(NoDisplayTest, UnsetOrWrongDisplayGivesOneLineNamingItAndStatusOne) {
  for (const std::string display : {"", ":9876"}) {
    SCOPED_TRACE(display);
    TestHome home;
    const Outcome outcome = RunWithDisplay(home, display);
    EXPECT_EQ(outcome.status, 1) << outcome.errors;
    ASSERT_FALSE(outcome.errors.empty());
    EXPECT_EQ(outcome.errors.find('\n'), outcome.errors.size() - 1) << outcome.errors;
    for (const std::string& word : {std::string("display"), std::string("set DISPLAY"), display})
      EXPECT_NE(outcome.errors.find(word), std::string::npos) << word << ": " << outcome.errors;
    EXPECT_FALSE(std::filesystem::exists(home.ConfigFile()));
  }
}

}  // namespace
}  // namespace trelvin::e2e
