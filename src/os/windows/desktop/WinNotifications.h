#pragma once

#include <functional>

#include "core/services/Notifications.h"
#include "os/windows/desktop/WinTrayIcon.h"

namespace trelvin {

// A balloon from the program's icon in the notification area (Shell_NotifyIconW with NIF_INFO).
// The icon is added at the first notice, on a hidden window of its own, and stays until the
// program ends, so later notices reuse it. Never modal, never takes the keyboard.
class WinNotifications : public Notifications {
 public:
  WinNotifications() = default;
  ~WinNotifications() override;
  WinNotifications(const WinNotifications&) = delete;
  WinNotifications& operator=(const WinNotifications&) = delete;

  bool Notify(const std::string& summary, const std::string& body) override;
  // Balloons have no buttons: a click on the balloon takes the action.
  bool NotifyWithAction(const std::string& summary, const std::string& body,
                        const std::string& action, std::function<void()> on_action) override;

  // The icon's window procedure: a click on the balloon runs its action.
  void Clicked();
  // While `icon` is shown (a capture runs), notices come from it instead, so there is one icon.
  void ShowThrough(WinTrayIcon* icon) { capture_icon_ = icon; }

 private:
  bool AddIcon();
  bool ShowBalloon(const std::string& summary, const std::string& body, unsigned long flags);

  std::function<void()> on_click_;  // the shown balloon's action, if it has one

  void* window_ = nullptr;  // HWND
  bool icon_added_ = false;
  WinTrayIcon* capture_icon_ = nullptr;
};

}  // namespace trelvin
