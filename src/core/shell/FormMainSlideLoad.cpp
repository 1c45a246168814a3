// Start-up, the run modes and the settings store of the settings window.
#include <string>

#include "core/base/AppInfo.h"
#include "core/base/AsciiCase.h"
#include "core/base/Guard.h"
#include "core/base/PathRules.h"
#include "core/services/ProgramDirectory.h"
#include "core/services/UserFolders.h"
#include "core/shell/FormMainSlide.h"
#include "core/shell/SettingText.h"

namespace trelvin {

namespace {

enum class RunMode { kEndAtOnce, kSettingsWindow, kSlideShowOnly };

RunMode ChooseRunMode(const std::string& command_line) {
  const std::string head = AsciiLower(command_line.substr(0, 2));
  if (head == "/p") return RunMode::kEndAtOnce;
  if (head == "/c" || head.empty()) return RunMode::kSettingsWindow;
  return RunMode::kSlideShowOnly;
}

}  // namespace

bool FormMainSlide::RunsCaptures(const std::string& command_line) {
  return ChooseRunMode(command_line) == RunMode::kSettingsWindow;
}

void FormMainSlide::Form_Load() {
  bool another_instance = false;
  Step([&] { another_instance = services_.instance.AnotherInstanceRunning(); });
  if (another_instance) {
    services_.runtime.EndAtOnce();
    return;
  }
  Step([&] {
    auto path =
        services_.settings.ReadSetting(kSettingsApp, kSettingsSection, "Path", DefaultCaptureDir());
    Require(path.has_value());
    AppPath = *path;
  });
  Step([&] { EnsureTrailingSeparator(AppPath); });
  Step([&] {
    lblPath.SetCaption(AppPath);
    lblPath.SetToolTipText(AppPath);
  });
  LoadSettings();
  std::string playlist;
  Step([&] { playlist = FindWinampPlaylist(); });
  if (!playlist.empty()) {
    Step([&] { chkMP3.SetVisible(true); });
    Step([&] { LoadSetting("MP3", "0", chkMP3); });
    Step([&] { chkMusic_Click(); });
  }
  Step([&] { hscrCapture_Change(); });
  Step([&] { hScrCompression_Change(); });
  Step([&] { hscrShow_Change(); });

  switch (ChooseRunMode(command_line_)) {
    case RunMode::kEndAtOnce:
      services_.runtime.EndAtOnce();
      return;
    case RunMode::kSettingsWindow:
      return;
    case RunMode::kSlideShowOnly:
      Step([&] { btnShow_Click(); });
      Step([&] { Unload(); });
      return;
  }
}

void FormMainSlide::LoadSettings() {
  Step([&] { LoadSetting("CompressionLevel", "60", hScrCompression); });
  Step([&] { LoadSetting("CaptureInterval", "10", hscrCapture); });
  Step([&] { LoadSetting("ShowInterval", "10", hscrShow); });
  Step([&] { LoadSetting("StretchImage", "0", chkStretch); });
  Step([&] { LoadSetting("Music", "1", chkMusic); });
  Step([&] { LoadSetting("Random", "0", chkRandom); });
  if (keeper_) Step([&] { keeper_->skip_unchanged = LoadFlag("SkipUnchanged"); });
}

// A setting kept outside the window's controls: 1 is on, a missing key 0; other text fails.
bool FormMainSlide::LoadFlag(const std::string& key) {
  auto text = services_.settings.ReadSetting(kSettingsApp, kSettingsSection, key, "0");
  Require(text.has_value());
  auto value = ParseSettingInt16(*text);
  Require(value == 0 || value == 1, "a stored switch is neither 0 nor 1");
  return *value == 1;
}

// The default applies only to a missing key; an unusable stored text leaves the control as it is.
template <class Control>
void FormMainSlide::LoadSetting(const std::string& key, const std::string& default_value,
                                Control& control) {
  auto text = services_.settings.ReadSetting(kSettingsApp, kSettingsSection, key, default_value);
  Require(text.has_value());
  auto value = ParseSettingInt16(*text);
  Require(value.has_value());
  Require(control.SetValue(*value));
}

void FormMainSlide::Form_Unload(std::int16_t& Cancel) {
  (void)Cancel;  // the unload is never refused
  Step([&] { WriteSetting("Path", AppPath); });
  Step([&] { WriteSetting("CompressionLevel", FormatSettingInt(hScrCompression.Value())); });
  Step([&] { WriteSetting("CaptureInterval", FormatSettingInt(hscrCapture.Value())); });
  Step([&] { WriteSetting("ShowInterval", FormatSettingInt(hscrShow.Value())); });
  Step([&] { WriteSetting("StretchImage", FormatSettingInt(chkStretch.Value())); });
  Step([&] { WriteSetting("Music", FormatSettingInt(chkMusic.Value())); });
  Step([&] { WriteSetting("Random", FormatSettingInt(chkRandom.Value())); });
  Step([&] { WriteSetting("MP3", FormatSettingInt(chkMP3.Value())); });
  if (keeper_) Step([&] { WriteSetting("SkipUnchanged", keeper_->skip_unchanged ? "1" : "0"); });
  // All eight reach the file in one replacement of it, never some of them.
  Step([&] { Require(services_.settings.Save()); });
  // Capturing ends with the window that owns its timer.
  Step([&] { Timer1.SetEnabled(false); });
  Step([&] { services_.screen_grab.EndSession(); });
  // The display may sleep and the icon goes with the run.
  if (keeper_) keeper_->EndRun();
}

void FormMainSlide::WriteSetting(const std::string& key, const std::string& value) {
  Require(services_.settings.WriteSetting(kSettingsApp, kSettingsSection, key, value));
}

bool FormMainSlide::FileExists(const std::string& path) {
  bool exists = false;
  Step([&] { exists = trelvin::FileExists(services_.files, path); });
  return exists;
}

std::string FormMainSlide::DefaultCaptureDir() {
  return ProductsDirectory(services_.files, services_.known_paths);
}

}  // namespace trelvin
