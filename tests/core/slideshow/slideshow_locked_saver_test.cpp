// The slide show run by the system as a password-protected screen saver, on the fakes.
#include <gtest/gtest.h>

#include <string>

#include "core/base/VirtualKeys.h"
#include "core/services/MessageBox.h"
#include "core/shell/FormMainSlide.h"
#include "core/slideshow/FormSlideShow.h"
#include "fakes/FakePlatform.h"

namespace trelvin {
namespace {

// Only the system's start ("/s") of a saver that asks for the password locks the commands away:
// there Delete, P, C and W ask nothing, touch nothing and end the show as any other key does.
TEST(LockedSaverTest, FileCommandsEndTheShowOnlyBehindALockedDesktop) {
  struct Case {
    const char* command_line;
    bool password;
    bool offered;
  };
  for (const Case& c : {Case{"/s", true, false}, Case{"/S 1234", true, false},
                        Case{"/s", false, true}, Case{"-x", true, true}}) {
    for (std::int16_t key : {kVkDelete, kVkP, kVkC, kVkW}) {
      SCOPED_TRACE(std::string(c.command_line) + " key " + std::to_string(key));
      fakes::FakePlatform p;
      p.saver_lock.password_on_resume = c.password;
      p.files.Add(NativePath("/pics/0.jpg"));
      p.pictures.sizes[NativePath("/pics/0.jpg")] = {320, 200};
      FormMainSlide main(p.services, c.command_line);
      main.AppPath = NativePath("/pics/");
      p.runtime.modal_script = [&](Form& show) {
        p.message_box.answers = {kIdYes, kIdOk};
        p.runtime.Events(show).KeyDown(key, 0);
        EXPECT_EQ(show.Loaded(), c.offered);
      };
      main.btnShow_Click();
      EXPECT_EQ(p.message_box.shown.empty(), !c.offered);
      EXPECT_EQ(p.files.Has(NativePath("/pics/0.jpg")), !c.offered || key != kVkDelete);
    }
  }
}

}  // namespace
}  // namespace trelvin
