// Opening the slide show: options, catalogue, music, cursor; and ending it.
#include <string>

#include "platform/Guard.h"
#include "platform/PathRules.h"
#include "platform/ProgramDirectory.h"
#include "platform/controls/CheckBox.h"
#include "shell/FormMainSlide.h"
#include "slideshow/Catalogue.h"
#include "slideshow/FormSlideShow.h"

namespace trelvin {

namespace {

// The slide show counts only a checked box; a grayed one is off.
bool IsChecked(const CheckBox& box) { return box.Value() == CheckBox::kChecked; }

}  // namespace

void FormSlideShow::Form_Load() {
  // So that the direct call of the timed advance at the end changes the slide at once.
  Step([&] { SlideTicks = Interval; });
  Step([&] {
    const Size screen = services_.runtime.ScreenSize();
    Move({0, 0, screen.width, screen.height});
  });
  Step([&] { services_.random.Seed(services_.clock.SecondsSinceMidnight()); });
  Step([&] { PicturePath = WithTrailingSeparator(owner_.AppPath); });
  Step([&] { ProgramPath = ProgramDirectory(services_.files); });
  Step([&] {
    MP3Flag = IsChecked(owner_.chkMP3);
    MusicFlag = IsChecked(owner_.chkMusic);
    RandomFlag = IsChecked(owner_.chkRandom);
    StretchFlag = IsChecked(owner_.chkStretch);
  });
  Step([&] {
    if (!MusicFlag) return;
    if (MP3Flag) {
      // The outside player plays the playlist; the program's own list stays empty.
      Step([&] { owner_.StartWinamp(); });
      return;
    }
    Step([&] {
      lstMusic.Clear();
      FillCatalogue(lstMusic, services_.files, ProgramPath, kMusicExtensions);
    });
    Step([&] { PlayMusic(true); });
  });
  Step([&] {
    lstImages.Clear();
    FillCatalogue(lstImages, services_.files, PicturePath, kPictureExtensions);
  });
  Step([&] { HideCursor(); });
  Step([&] { SetVisible(true); });
  Step([&] { Timer1.SetEnabled(true); });
  Step([&] { Timer1_Timer(); });
}

void FormSlideShow::HideCursor() {
  Step([&] { services_.cursor.ShowCursor(false); });
}

void FormSlideShow::RestoreCursor() {
  Step([&] { services_.cursor.ShowCursor(true); });
}

void FormSlideShow::Form_MouseDown(std::int16_t Button, std::int16_t Shift, float x, float y) {
  (void)Button, (void)Shift, (void)x, (void)y;  // any press ends the show
  Step([&] { Unload(); });
}

void FormSlideShow::Image1_Click() {
  Step([&] { Unload(); });
}

void FormSlideShow::Form_Unload(std::int16_t& Cancel) {
  (void)Cancel;  // the show never refuses to close
  Step([&] { StopMusic(); });
  Step([&] { RestoreCursor(); });
  Step([&] { ResetComponents(); });
}

void FormSlideShow::ResetComponents() {
  lstImages.Clear();
  lstMusic.Clear();
  // Releases the decoded picture too: nothing of it is needed once the window is gone.
  Image1.SetPicture(nullptr);
  Image1.SetStretch(false);
  Image1.SetGeometry({0, 0, 0, 0});
  Timer1.SetEnabled(true);
}

}  // namespace trelvin
