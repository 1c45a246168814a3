#pragma once

#include <memory>
#include <vector>

#include "core/services/TrayIcon.h"

class QAction;
class QMenu;
class QSystemTrayIcon;

namespace trelvin {

// The icon through QSystemTrayIcon: Qt registers a StatusNotifierItem with the session bus's
// watcher when one is there (the desktops of today, and Wayland), else docks into the X11 tray
// (_NET_SYSTEM_TRAY). With neither, Show says so and nothing is made.
class QtTrayIcon : public TrayIcon {
 public:
  QtTrayIcon();
  ~QtTrayIcon() override;
  bool Show(const TrayIconState& state) override;
  void Hide() override;

 private:
  void SetMenu(const std::vector<TrayMenuItem>& items);

  std::unique_ptr<QMenu> menu_;
  std::unique_ptr<QSystemTrayIcon> icon_;
  std::vector<QAction*> actions_;
};

}  // namespace trelvin
