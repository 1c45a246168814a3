#pragma once

#include <memory>
#include <optional>

#include <QString>

#include "core/services/DisplayInhibit.h"

class QObject;

namespace trelvin {

// org.freedesktop.ScreenSaver.Inhibit on the session bus; where no such service answers (GNOME on
// Wayland, say), the inhibit portal (org.freedesktop.portal.Inhibit, idle). Calls never wait for
// their answer, so a slow service never holds up a tick; a hold whose answer comes after its
// release is given back at once. The bus releases whatever a crashed program held.
class DBusDisplayInhibit : public DisplayInhibit {
 public:
  DBusDisplayInhibit();
  ~DBusDisplayInhibit() override;
  bool Hold() override;
  void Release() override;

 private:
  void AskPortal();
  void GiveBack();

  std::unique_ptr<QObject> context_;  // owns the answers' watchers
  bool wanted_ = false;
  bool pending_ = false;
  std::optional<unsigned> cookie_;  // the screen saver's
  QString request_;                 // the portal's, empty when none
};

}  // namespace trelvin
