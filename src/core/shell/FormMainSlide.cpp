#include "core/shell/FormMainSlide.h"

#include "core/base/AppInfo.h"
#include "core/base/AsciiCase.h"
#include "core/base/Guard.h"
#include "core/base/PathRules.h"
#include "core/services/ProgramDirectory.h"
#include "core/slideshow/FormSlideShow.h"

namespace trelvin {

namespace {

constexpr LabelStyle kLinkStyle{MakeRgb(0, 0, 255), true, true};

}  // namespace

// The window's fixed layout: pixels at 96 dpi, tab order as designed.
FormMainSlide::FormMainSlide(Services& services, std::string command_line,
                             CaptureKeepServices* keeping)
    : Form("formMainSlide"),
      lblCaptureText("lblCaptureText", {3, 8, 144, 15}, 10, "Capture Interval:"),
      hscrCapture("hscrCapture", {3, 25, 204, 12}, 1, 1, 600, 1, 10, 1),
      lblCapture("lblCapture", {213, 24, 63, 14}, 11, ""),
      lblCompressionText("lblCompressionText", {3, 45, 63, 15}, 16, "Compression:"),
      hScrCompression("hScrCompression", {69, 46, 102, 12}, 2, 1, 100, 1, 5, 1),
      lblCompression("lblCompression", {179, 45, 53, 14}, 15, ""),
      btnDir("btnDir", {211, 41, 62, 20}, 3, "Directory..."),
      lblPath("lblPath", {2, 63, 271, 17}, 17, ""),
      lblShowText("lblShowText", {2, 90, 144, 15}, 12, "Show Interval:"),
      hscrShow("hscrShow", {3, 106, 204, 12}, 4, 1, 600, 1, 10, 1),
      lblShow("lblShow", {214, 106, 70, 14}, 13, ""),
      chkStretch("chkStretch", {3, 127, 105, 14}, 5, "Stretch Image"),
      chkMusic("chkMusic", {100, 127, 80, 13}, 6, "Music"),
      chkRandom("chkRandom", {162, 126, 60, 15}, 7, "Random"),
      chkMP3("chkMP3", {232, 125, 43, 14}, 8, "MP3"),
      btnStart("btnStart", {118, 144, 75, 28}, 9, "&Start"),
      btnShow("btnShow", {201, 144, 75, 28}, 0, "&S&how"),
      lblCredits("lblCredits", {4, 155, 107, 14}, 14, kCredits, kLinkStyle),
      Picture1("Picture1", {243, 3, 31, 24}, 18, MakeRgb(240, 240, 240)),
      Timer1("Timer1", 1000, false),
      services_(services),
      command_line_(std::move(command_line)),
      capture_(services) {
  SetCaption(kMainCaption);
  SetBorder(BorderStyle::kFixedSingle);
  Move({0, 0, 278, 173});
  chkMP3.SetVisible(false);
  Step([&] {
    lblCredits.SetToolTipText(
        JoinPath(ProgramDirectory(services_.files) + kAboutFolder, kCreditsTooltipPage));
  });
  Picture1.SetVisible(false);

  for (Control* c : std::initializer_list<Control*>{
           &lblCaptureText, &hscrCapture, &lblCapture, &lblCompressionText, &hScrCompression,
           &lblCompression, &btnDir, &lblPath, &lblShowText, &hscrShow, &lblShow, &chkStretch,
           &chkMusic, &chkRandom, &chkMP3, &btnStart, &btnShow, &lblCredits, &Picture1}) {
    AddControl(*c);
  }
  AddTimer(Timer1);

  chkMusic.on_click = [this] { chkMusic_Click(); };
  hscrCapture.on_change = [this] { hscrCapture_Change(); };
  hScrCompression.on_change = [this] { hScrCompression_Change(); };
  hscrShow.on_change = [this] { hscrShow_Change(); };
  lblCredits.on_click = [this] { lblCredits_Click(); };
  lblPath.on_dbl_click = [this] { lblPath_DblClick(); };
  btnDir.on_click = [this] { btnDir_Click(); };
  btnShow.on_click = [this] { btnShow_Click(); };
  btnStart.on_click = [this] { btnStart_Click(); };
  Timer1.on_timer = [this] { Timer1_Timer(); };
  // Only the settings window starts captures: the screen-saver run modes never hold the display.
  if (keeping && RunsCaptures(command_line_)) {
    keeper_ = std::make_unique<CaptureKeeper>(services_, *keeping, capture_.Report());
    // The icon's Stop is the button's.
    keeper_->on_stop = [this] {
      if (Timer1.Enabled()) btnStart_Click();
    };
    // The icon's video item makes the video of the pictures this run has kept so far.
    RunVideo& run_video = capture_.run_video();
    keeper_->video.available = [this, &run_video] {
      return run_video.LastRun().pictures > 0 && !services_.video.Busy();
    };
    keeper_->video.make = [&run_video](const std::string&) { run_video.MakeVideo(); };
    run_video.on_progress = [this](int done, int total) { keeper_->VideoProgress(done, total); };
  }
}

FormMainSlide::~FormMainSlide() = default;

FormSlideShow& FormMainSlide::formSlideShow() {
  if (!slide_show_) {
    slide_show_ = std::make_unique<FormSlideShow>(
        services_, ShowOwner{[this] { return CurrentShowSettings(); }, [this] { StartWinamp(); }});
  }
  return *slide_show_;
}

// The settings the slide show copies at its load: the capture directory, the option boxes, and
// whether the system runs it ("/s") as a screen saver that locks the desktop.
ShowSettings FormMainSlide::CurrentShowSettings() const {
  const bool system_saver = AsciiLower(command_line_.substr(0, 2)) == "/s";
  return {AppPath,
          chkMP3.Value(),
          chkMusic.Value(),
          chkRandom.Value(),
          chkStretch.Value(),
          system_saver && services_.saver_lock.PasswordOnResume()};
}

}  // namespace trelvin
