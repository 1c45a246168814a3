#pragma once

#include <cstdint>
#include <string>

#include "core/controls/Form.h"
#include "core/controls/ImageControl.h"
#include "core/controls/Timer.h"
#include "core/services/RandomAhead.h"
#include "core/services/Services.h"
#include "core/slideshow/NameList.h"
#include "core/slideshow/ShowSettings.h"

namespace trelvin {

// The full-screen slide-show window. The object lives from its first use to the end of the run;
// its members carry over from one show to the next.
class FormSlideShow : public Form {
 public:
  FormSlideShow(Services& services, ShowOwner owner);

  // Loading, catalogue, ending the show.
  void Form_Load() override;
  void Form_Unload(std::int16_t& Cancel) override;
  void Form_MouseDown(std::int16_t Button, std::int16_t Shift, float x, float y) override;
  void Image1_Click();
  void HideCursor();
  void RestoreCursor();

  // Timed advance and display.
  void Timer1_Timer();
  void ShowSlide();
  static bool NextIndex(std::int16_t& position, const std::int16_t& count);
  static bool PreviousIndex(std::int16_t& position, const std::int16_t& count);

  // Music.
  void PlayMusic(bool Automatic);
  void StopMusic();
  // The song-end check of a due slide change.
  void CheckSongEnd();

  // Viewer commands.
  void Form_KeyDown(std::int16_t& KeyCode, std::int16_t Shift) override;
  bool ConfirmPrompt(const std::string& question);

  // Show interval in tenths of a second; written by the opener before the window loads.
  std::int16_t Interval = 0;

  std::int16_t SlideTicks = 0;
  std::string PicturePath;
  std::string ProgramPath;
  // The songs' directory: ProgramPath when it holds songs, else the program's folder in the
  // user's Music (an installation the user cannot write to gets its songs there).
  std::string MusicPath;
  // Where copies go: ProgramPath when this user may write there, else the program's folder in
  // the user's Pictures (made when the first copy needs it).
  std::string CopyPath;
  std::string CurrentName;
  std::string CurrentPath;
  std::int16_t PictureIndex = 0;
  std::int16_t MusicIndex = 0;
  bool MP3Flag = false;
  bool MusicFlag = false;
  bool RandomFlag = false;
  bool StretchFlag = false;

  NameList lstImages{NameList::Order::kInsertion};
  NameList lstMusic{NameList::Order::kSortedNoCase};
  Timer Timer1;
  ImageControl Image1;

 private:
  // The four commands that act on the current picture, each after a question.
  void DeleteCommand();
  void PrintCommand();
  void CopyCommand();
  void WallpaperCommand();
  // Has the picture service decode, on its worker, the picture the show displays next: the next
  // timed change's (in random order with its draw looked at ahead), or Page Down's while paused.
  void PrepareNextSlide();
  // The size a slide is shown at: the window's when stretched, else empty (natural size). The
  // load and the look-ahead both ask for this one, so that a prepared picture is the one shown.
  Size SlideDisplaySize();
  // The window's components are made afresh for every show: lists empty, no picture, timer on.
  void ResetComponents();

  Services& services_;
  // Every draw of the show, the songs' and the pictures', in one sequence from the source.
  RandomAhead random_;
  ShowOwner owner_;
  // The desktop is locked behind this show (set at every load): no command acts on files, the
  // printer or the desktop.
  bool secure_saver_ = false;
  // The file of the picture on the screen, which the file commands act on: the last picture that
  // loaded. A picture that fails to load leaves the earlier one shown, and these with it, while
  // CurrentName and CurrentPath already name the failed file. Kept from one show to the next,
  // like CurrentPath.
  std::string shown_name_;
  std::string shown_path_;
};

}  // namespace trelvin
