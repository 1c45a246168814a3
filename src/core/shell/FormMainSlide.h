#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/capture/CaptureKeeper.h"
#include "core/capture/DesktopCapture.h"
#include "core/controls/Button.h"
#include "core/controls/CheckBox.h"
#include "core/controls/Form.h"
#include "core/controls/Label.h"
#include "core/controls/PictureBox.h"
#include "core/controls/ScrollBar.h"
#include "core/controls/Timer.h"
#include "core/services/Services.h"
#include "core/slideshow/ShowSettings.h"

namespace trelvin {

class FormSlideShow;

// The settings window: the start-up window, alive for the whole run. Its controls are the
// settings while the program runs; the capture and the slide show read them here.
class FormMainSlide : public Form {
 public:
  // `command_line` is the argument text that follows the program's name. With `keeping`, a
  // capture run skips unchanged screens when asked, pauses, watches the disk, keeps the display
  // awake and shows its icon; without it, every due tick writes a picture.
  FormMainSlide(Services& services, std::string command_line,
                CaptureKeepServices* keeping = nullptr);
  ~FormMainSlide() override;

  // FormMainSlide.cpp: the window's layout and the slide-show window it owns.
  // The slide-show window object, created on first use.
  FormSlideShow& formSlideShow();
  bool HasSlideShow() const { return slide_show_ != nullptr; }
  ShowSettings CurrentShowSettings() const;

  // FormMainSlideLoad.cpp: start-up, the run modes and the settings store.
  // Start-up: single instance, settings into the controls, run mode.
  void Form_Load() override;
  // Writes the eight settings.
  void Form_Unload(std::int16_t& Cancel) override;
  // True when the file's length can be read and is greater than 0.
  bool FileExists(const std::string& path);
  // The executable's directory with a trailing separator when this user may write there, else
  // the program's folder in the user's Pictures.
  std::string DefaultCaptureDir();

  // FormMainSlideHandlers.cpp: value labels, links, the directory picker, the show opener.
  void chkMusic_Click();
  void hscrCapture_Change();
  void hScrCompression_Change();
  void hscrShow_Change();
  void lblCredits_Click();
  void lblPath_DblClick();
  void btnDir_Click();
  // The chosen directory's path, or empty text on cancel.
  std::string BrowseFolder(const std::string& msg);
  // Opens the slide show modally; returns when it has closed.
  void btnShow_Click();

  // FormMainSlidePlaylist.cpp: the outside player's playlist.
  // The first existing Winamp playlist, or empty text.
  std::string FindWinampPlaylist();
  // Hands Winamp's playlist to the desktop's default player.
  void StartWinamp();

  // FormMainSlideCapture.cpp: starting and stopping timed capture, and the capture unit's two
  // procedures as the window names them.
  // Starts or stops timed capture.
  void btnStart_Click();
  // The capture timer's tick.
  void Timer1_Timer();

  // One capture of the whole screen into basePath + ".jpg", at the window's compression level.
  void CaptureScreen(PictureBox& canvas, const std::string& basePath);
  // Brings the emulator to the front with one Enter, or starts it.
  void LaunchEmulator();
  // The running capture's pauses, skipping and icon; null without the services they need.
  CaptureKeeper* Keeper() { return keeper_.get(); }

  // The capture directory; ends with the separator once loaded.
  std::string AppPath;
  // Ticks since the last capture.
  std::int16_t CaptureTicks = 0;

  Label lblCaptureText;
  ScrollBar hscrCapture;
  Label lblCapture;
  Label lblCompressionText;
  ScrollBar hScrCompression;
  Label lblCompression;
  Button btnDir;
  Label lblPath;
  Label lblShowText;
  ScrollBar hscrShow;
  Label lblShow;
  CheckBox chkStretch;
  CheckBox chkMusic;
  CheckBox chkRandom;
  CheckBox chkMP3;
  Button btnStart;
  Button btnShow;
  Label lblCredits;
  PictureBox Picture1;
  Timer Timer1;

 private:
  // FormMainSlideLoad.cpp.
  void LoadSettings();
  // Assigns the stored number to a scroll bar or check box (both refuse values they cannot hold).
  template <class Control>
  void LoadSetting(const std::string& key, const std::string& default_value, Control& control);
  void WriteSetting(const std::string& key, const std::string& value);
  bool LoadFlag(const std::string& key);
  // Whether the command line opens the settings window, the one run mode that captures.
  static bool RunsCaptures(const std::string& command_line);
  // FormMainSlideCapture.cpp.
  void SetCaptureControlsEnabled(bool enabled);

  Services& services_;
  std::string command_line_;
  DesktopCapture capture_;
  std::unique_ptr<CaptureKeeper> keeper_;
  std::unique_ptr<FormSlideShow> slide_show_;
};

}  // namespace trelvin
