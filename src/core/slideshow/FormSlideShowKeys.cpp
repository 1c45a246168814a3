// The keyboard commands of the running show.
#include <cstdint>
#include <optional>
#include <string>

#include "core/base/AppInfo.h"
#include "core/base/Guard.h"
#include "core/base/VirtualKeys.h"
#include "core/services/MessageBox.h"
#include "core/slideshow/FormSlideShow.h"

namespace trelvin {

namespace {

constexpr int kQuestionStyle = kMbYesNo + kMbIconQuestion + kMbDefButton2;  // 292

// Delete, P, C and W: the commands that act on the user's files, printer or desktop.
bool TouchesFilesOrDesktop(std::int16_t key) {
  return key == kVkDelete || key == kVkP || key == kVkC || key == kVkW;
}

}  // namespace

// Only the key code counts: a key acts the same with any modifier held.
void FormSlideShow::Form_KeyDown(std::int16_t& KeyCode, std::int16_t Shift) {
  (void)Shift;
  // Behind a password-protected screen saver whoever presses a key may be a stranger: those
  // commands are not offered, and their keys end the show as any other key does.
  if (secure_saver_ && TouchesFilesOrDesktop(KeyCode)) {
    Step([&] { Unload(); });
    return;
  }
  switch (KeyCode) {
    case kVkDelete:
      if (!shown_path_.empty()) DeleteCommand();
      return;
    case kVkNext:
      Step([&] { Timer1.SetEnabled(false); });
      Step([&] {
        if (NextIndex(PictureIndex, lstImages.ListCount())) ShowSlide();
      });
      return;
    case kVkPrior:
      Step([&] { Timer1.SetEnabled(false); });
      Step([&] {
        if (PreviousIndex(PictureIndex, lstImages.ListCount())) ShowSlide();
      });
      return;
    case kVkS:
      Step([&] { StretchFlag = !StretchFlag; });
      Step([&] { ShowSlide(); });
      return;
    case kVkP:
      if (!shown_path_.empty()) PrintCommand();
      return;
    case kVkC:
      if (!shown_path_.empty()) CopyCommand();
      return;
    case kVkW:
      if (!shown_path_.empty()) WallpaperCommand();
      return;
    case kVkM:
      Step([&] { MusicFlag = !MusicFlag; });
      Step([&] {
        if (MP3Flag) return;  // the outside player is not ours to switch
        if (MusicFlag) {
          PlayMusic(true);
        } else {
          StopMusic();
        }
      });
      return;
    case kVkAdd:
      if (MusicFlag && !MP3Flag) {
        Step([&] {
          if (NextIndex(MusicIndex, lstMusic.ListCount())) PlayMusic(false);
        });
      }
      return;
    case kVkSubtract:
      if (MusicFlag && !MP3Flag) {
        Step([&] {
          if (PreviousIndex(MusicIndex, lstMusic.ListCount())) PlayMusic(false);
        });
      }
      return;
    case kVkF5:
      // With sequential order the next slide change starts again at the first entry.
      PictureIndex = 0;
      return;
    case kVkSpace:
      Step([&] { Timer1.SetEnabled(!Timer1.Enabled()); });
      return;
    default:
      Step([&] { Unload(); });
      return;
  }
}

bool FormSlideShow::ConfirmPrompt(const std::string& question) {
  // No slide changes behind the question, and the pointer is there to answer it.
  Step([&] { Timer1.SetEnabled(false); });
  Step([&] { RestoreCursor(); });
  bool answer = false;
  Step([&] {
    answer = services_.message_box.MsgBox(question, kQuestionStyle, kMessageCaption) == kIdYes;
  });
  Step([&] { HideCursor(); });
  // Every question resumes the show, also one that was paused before.
  Step([&] { Timer1.SetEnabled(true); });
  return answer;
}

void FormSlideShow::DeleteCommand() {
  bool yes = false;
  Step([&] { yes = ConfirmPrompt("Do you want to delete the file\r\n'" + shown_path_ + "'?"); });
  if (!yes) return;
  // The entry, the index and the picture on screen stay as they are.
  Step([&] {
    Require(services_.files.DeleteFile(shown_path_), "the picture could not be deleted");
  });
}

void FormSlideShow::PrintCommand() {
  bool yes = false;
  Step([&] { yes = ConfirmPrompt("Do you want to print this image?"); });
  if (!yes) return;
  Size control;
  Size page;
  const bool sized = Step([&] {
    const Rect g = Image1.Geometry();
    control = Size{g.width * kTwipsPerPixel, g.height * kTwipsPerPixel};
    const std::optional<Size> reported = services_.printer.PageSize();
    Require(reported.has_value());
    page = *reported;
  });
  int x = 0;
  int y = 0;
  const bool placed = sized && Step([&] {
                        // Whole units already, so only the halving remains; it truncates toward
                        // zero.
                        x = (page.width - control.width) / 2;
                        y = (page.height - control.height) / 2;
                      });
  Step([&] {
    Require(placed);
    const auto& picture = Image1.CurrentPicture();
    Require(picture != nullptr);
    Require(services_.printer.PaintPicture(*picture, x, y), "the picture could not be printed");
  });
  // Also after a failure above: the document is ended either way.
  Step([&] { Require(services_.printer.EndDoc(), "the printer did not take the page"); });
}

void FormSlideShow::CopyCommand() {
  bool yes = false;
  // The question names the file, as the delete question does: the picture shown is not always
  // the one the show last tried to load.
  Step([&] { yes = ConfirmPrompt("Do you want to copy this image?\r\n'" + shown_path_ + "'"); });
  if (!yes) return;
  // The program's folder in the user's Pictures is made when the first copy needs it.
  Step([&] {
    if (CopyPath != ProgramPath) {
      Require(services_.files.CreateDirectories(CopyPath), "the copies' folder could not be made");
    }
  });
  // The file system refuses a copy onto the file itself, which leaves it intact.
  Step([&] {
    Require(services_.files.CopyFile(shown_path_, CopyPath + shown_name_),
            "the picture could not be copied");
  });
}

void FormSlideShow::WallpaperCommand() {
  bool yes = false;
  Step([&] { yes = ConfirmPrompt("Do you want to set this image as your desktop wallpaper?"); });
  if (!yes) return;
  std::string path;
  const bool saved = Step([&] {
    path = services_.known_paths.WallpaperBitmapPath();
    const auto& picture = Image1.CurrentPicture();
    Require(picture != nullptr);
    Require(services_.pictures.SavePicture(*picture, path));
  });
  // An older bitmap left at the path is not this picture: set only what was just saved.
  const bool set = saved && Step([&] { Require(services_.wallpaper.SetDeskWallpaper(path)); });
  Step([&] {
    if (saved && set) {
      services_.message_box.MsgBox("Your wallpaper was changed!", kMbIconInformation,
                                   kMessageCaption);
    } else {
      services_.message_box.MsgBox("The wallpaper could not be changed.", kMbIconExclamation,
                                   kMessageCaption);
    }
  });
}

}  // namespace trelvin
