// The slide show run by the system as a password-protected screen saver, on the fakes.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "core/base/VirtualKeys.h"
#include "core/services/MessageBox.h"
#include "core/shell/FormMainSlide.h"
#include "core/slideshow/FormSlideShow.h"
#include "fakes/FakePlatform.h"

namespace trelvin {
namespace {

// Only the system's own start of a password-protected saver ("/s") locks the commands away; there
// Delete, P, C and W end the show as any other key, asking nothing and touching nothing.
TEST(SecureSaverKeysTest, FileCommandsEndTheShowBehindALockedDesktop) {
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
      p.files.exe_dir = NativePath("/opt/trelvin");
      p.files.Add(NativePath("/pics/0.jpg"));
      p.pictures.sizes[NativePath("/pics/0.jpg")] = {320, 200};
      FormMainSlide main(p.services, c.command_line);
      main.AppPath = NativePath("/pics/");
      main.chkMusic.SetValue(0);
      bool open_after_key = false;
      p.runtime.modal_script = [&](Form&) {
        p.message_box.answers = {kIdYes, kIdOk};
        main.formSlideShow().Form_KeyDown(key, 0);
        open_after_key = main.formSlideShow().Loaded();
      };
      main.btnShow_Click();
      EXPECT_EQ(open_after_key, c.offered);
      EXPECT_EQ(p.message_box.shown.empty(), !c.offered);
      if (!c.offered) {
        EXPECT_TRUE(p.files.Has(NativePath("/pics/0.jpg")));
        EXPECT_FALSE(p.files.Has(NativePath("/opt/trelvin/0.jpg")));
        EXPECT_EQ(p.printer.end_docs, 0);
        EXPECT_TRUE(p.wallpaper.paths.empty());
      }
    }
  }
}

}  // namespace
}  // namespace trelvin
