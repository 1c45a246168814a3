// The end of the user's session with the slide show open, on fakes.
#include <gtest/gtest.h>

#include "core/shell/FormMainSlide.h"
#include "core/shell/UnloadAtSessionEnd.h"
#include "core/slideshow/FormSlideShow.h"
#include "fakes/FakePlatform.h"

namespace trelvin {
namespace {

TEST(SessionEndTest, TheShowUnloadsBeforeTheSettingsWindowThatOwnsItAndTheSettingsAreWritten) {
  fakes::FakePlatform platform;
  FormMainSlide settings(platform.services, "");
  settings.RunLoad();
  ASSERT_TRUE(settings.Loaded());
  std::vector<std::string> hidden;
  auto watch = [&](Form& form, const char* name) {
    form.SetVisible(true);
    form.on_view_changed = [&form, &hidden, name] {
      if (!form.Visible()) hidden.push_back(name);
    };
  };
  bool ended = false;
  platform.runtime.modal_script = [&](Form& show) {
    watch(settings, "settings");
    watch(show, "show");
    UnloadAtSessionEnd(settings);
    ended = true;
  };
  settings.btnShow_Click();
  ASSERT_TRUE(ended);
  EXPECT_EQ(hidden, (std::vector<std::string>{"show", "settings"}));
  EXPECT_FALSE(settings.formSlideShow().Loaded());
  EXPECT_FALSE(settings.Loaded());
  EXPECT_FALSE(platform.settings.writes.empty());
  // A second end (another window of the program got the message too) finds nothing to do.
  const std::size_t writes = platform.settings.writes.size();
  UnloadAtSessionEnd(settings);
  EXPECT_EQ(platform.settings.writes.size(), writes);
}

}  // namespace
}  // namespace trelvin
