// The small handlers of the settings window: value labels, links, the directory picker, the
// slide-show opener.
#include <cstdio>
#include <string>

#include "core/base/AppInfo.h"
#include "core/base/Guard.h"
#include "core/base/PathRules.h"
#include "core/services/ProgramDirectory.h"
#include "core/shell/FormMainSlide.h"
#include "core/slideshow/FormSlideShow.h"

namespace trelvin {

void FormMainSlide::chkMusic_Click() { chkMP3.SetEnabled(chkMusic.Value() != CheckBox::kCleared); }

void FormMainSlide::hscrCapture_Change() {
  Step([&] { lblCapture.SetCaption(std::to_string(hscrCapture.Value()) + " seconds"); });
}

void FormMainSlide::hScrCompression_Change() {
  Step([&] { lblCompression.SetCaption(std::to_string(hScrCompression.Value()) + "%"); });
}

// "#0.0" of the value in tenths: at least one digit before the separator, exactly one after.
void FormMainSlide::hscrShow_Change() {
  Step([&] {
    const float seconds = static_cast<float>(hscrShow.Value()) / 10.0f;
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", static_cast<double>(seconds));
    std::string formatted = text;
    std::string separator = ".";
    Step([&] { separator = services_.locale.DecimalSeparator(); });
    const auto dot = formatted.find('.');
    if (dot != std::string::npos) formatted.replace(dot, 1, separator);
    lblShow.SetCaption(formatted + " seconds");
  });
}

void FormMainSlide::lblCredits_Click() {
  Step([&] {
    services_.shell.ShellExecute(
        JoinPath(ProgramDirectory(services_.files) + kAboutFolder, kCreditsPage), "",
        kSwShowNormal);
  });
}

void FormMainSlide::lblPath_DblClick() {
  Step([&] { services_.shell.ShellExecute(lblPath.Caption(), "", kSwShowNormal); });
}

void FormMainSlide::btnDir_Click() {
  std::string result = BrowseFolder("Select the directory to store the captures");
  if (result.empty()) return;
  AppPath = result;
  EnsureTrailingSeparator(AppPath);
  lblPath.SetCaption(AppPath);
  lblPath.SetToolTipText(AppPath);
}

std::string FormMainSlide::BrowseFolder(const std::string& msg) {
  std::string path;
  Step([&] { path = services_.folder_dialog.BrowseForFolder(*this, msg); });
  // The text before the first NUL is the path.
  Step([&] { path = path.substr(0, path.find('\0')); });
  return path;
}

void FormMainSlide::btnShow_Click() {
  Step([&] { formSlideShow().Interval = hscrShow.Value(); });
  Step([&] { services_.runtime.ShowModal(formSlideShow(), *this); });
}

}  // namespace trelvin
