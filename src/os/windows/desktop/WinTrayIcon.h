#pragma once

#include <cstdint>
#include <string>

#include "core/services/TrayIcon.h"

namespace trelvin {

// The capture's icon in the notification area (Shell_NotifyIconW) on a hidden window of its own;
// its menu opens on a click of either button (TrackPopupMenu). The tooltip is cut to the 127
// characters the shell keeps. Hide deletes the icon and keeps the window for the next run.
class WinTrayIcon : public TrayIcon {
 public:
  // The menu's command identifiers: kFirstCommand + the item's place in the menu.
  static constexpr unsigned kFirstCommand = 100;
  // The icon's callback message to its window.
  static constexpr unsigned kCallbackMessage = 0x8000 + 25;  // WM_APP + 25

  WinTrayIcon() = default;
  ~WinTrayIcon() override;
  WinTrayIcon(const WinTrayIcon&) = delete;
  WinTrayIcon& operator=(const WinTrayIcon&) = delete;

  bool Show(const TrayIconState& state) override;
  void Hide() override;
  // A balloon from this icon while it is shown; false when it is not.
  bool Balloon(const std::string& summary, const std::string& body);

  // The hidden window's messages; public for its window procedure. True when handled.
  bool HandleMessage(unsigned message, std::uintptr_t w, std::intptr_t l);
  void* Window() const { return window_; }

 private:
  bool MakeWindow();
  void OpenMenu();

  void* window_ = nullptr;  // HWND
  bool added_ = false;
  TrayIconState state_;
};

}  // namespace trelvin
