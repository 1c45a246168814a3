#pragma once

#include <functional>
#include <string>
#include <vector>

namespace trelvin {

// What the user can pick in the icon's menu.
enum class TrayCommand { kPauseResume, kStop, kOpenFolder, kSkipUnchanged, kMakeVideo };

struct TrayMenuItem {
  TrayCommand command = TrayCommand::kStop;
  std::string text;  // with "&" before the access key
  bool enabled = true;
  bool checkable = false;
  bool checked = false;
  bool operator==(const TrayMenuItem&) const = default;
};

// Everything the icon shows: the picture (running or paused), its tooltip and its menu.
struct TrayIconState {
  bool paused = false;
  std::string tooltip;  // lines separated by '\n'
  std::vector<TrayMenuItem> menu;
  bool operator==(const TrayIconState&) const = default;
};

// The program's icon in the desktop's notification area.
class TrayIcon {
 public:
  virtual ~TrayIcon() = default;
  // Shows the icon as `state`, or changes the shown one to it; false when the desktop has no
  // notification area to show it in.
  virtual bool Show(const TrayIconState& state) = 0;
  // Removes the icon; harmless when none is shown.
  virtual void Hide() = 0;

  // Called on the window thread with the menu item the user picked.
  std::function<void(TrayCommand)> on_command;
};

}  // namespace trelvin
