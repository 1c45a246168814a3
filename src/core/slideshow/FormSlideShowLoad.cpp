// Opening the slide show: options, catalogue, music, cursor; and ending it.
#include <string>

#include "core/base/Guard.h"
#include "core/base/PathRules.h"
#include "core/controls/CheckBox.h"
#include "core/services/ProgramDirectory.h"
#include "core/services/UserFolders.h"
#include "core/slideshow/Catalogue.h"
#include "core/slideshow/FormSlideShow.h"

namespace trelvin {

namespace {

// The slide show counts only a checked box; a grayed one is off.
bool IsChecked(std::int16_t state) { return state == CheckBox::kChecked; }

}  // namespace

void FormSlideShow::Form_Load() {
  // So that the direct call of the timed advance at the end changes the slide at once.
  Step([&] { SlideTicks = Interval; });
  Step([&] {
    const Size screen = services_.runtime.ScreenSize();
    Move({0, 0, screen.width, screen.height});
  });
  Step([&] { random_.Seed(services_.clock.SecondsSinceMidnight()); });
  ShowSettings settings;
  Step([&] { settings = owner_.settings(); });
  Step([&] { PicturePath = WithTrailingSeparator(settings.picture_dir); });
  Step([&] { ProgramPath = ProgramDirectory(services_.files); });
  Step([&] { CopyPath = ProductsDirectory(services_.files, services_.known_paths); });
  Step([&] {
    MP3Flag = IsChecked(settings.mp3);
    MusicFlag = IsChecked(settings.music);
    RandomFlag = IsChecked(settings.random);
    StretchFlag = IsChecked(settings.stretch);
  });
  Step([&] { secure_saver_ = settings.secure_saver; });
  Step([&] {
    if (!MusicFlag) return;
    if (MP3Flag) {
      // The outside player plays the playlist; the program's own list stays empty.
      Step([&] { owner_.start_winamp(); });
      return;
    }
    Step([&] {
      lstMusic.Clear();
      MusicPath = ProgramPath;
      FillCatalogue(lstMusic, services_.files, MusicPath, kMusicExtensions);
    });
    Step([&] {
      if (lstMusic.ListCount() > 0) return;
      const std::string user_music = TrelvinFolderIn(services_.known_paths.MusicDirectory());
      if (user_music.empty()) return;
      MusicPath = user_music;
      FillCatalogue(lstMusic, services_.files, MusicPath, kMusicExtensions);
    });
    Step([&] { PlayMusic(true); });
  });
  Step([&] {
    lstImages.Clear();
    // A "photo.jpeg" is listed once, under its own extension, even where it also has a short
    // name that "*.jpg" matches.
    FillCatalogue(lstImages, services_.files, PicturePath, kPictureExtensions,
                  OtherNames::kLeftToTheirOwnPattern);
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
  // Releases the decoded pictures too, the one prepared ahead as well: nothing of them is needed
  // once the window is gone.
  Image1.SetPicture(nullptr);
  services_.pictures.DropPreparedPicture();
  Image1.SetStretch(false);
  Image1.SetGeometry({0, 0, 0, 0});
  Timer1.SetEnabled(true);
}

}  // namespace trelvin
