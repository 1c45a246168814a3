#pragma once

#include <functional>
#include <string>

namespace trelvin {

// The desktop's own passing notices (a notification bubble or balloon): never modal, never
// taking the keyboard from the game in front.
class Notifications {
 public:
  virtual ~Notifications() = default;
  // Shows `summary` with `body` below it and returns at once; false when the notice could not
  // be handed to the desktop.
  virtual bool Notify(const std::string& summary, const std::string& body) = 0;
  // Like Notify, with one action the user may take (`action` names it; where notices have no
  // buttons, a click on the notice takes it): `on_action` then runs on the interface thread.
  // A desktop without actions shows the notice alone.
  virtual bool NotifyWithAction(const std::string& summary, const std::string& body,
                                const std::string& action, std::function<void()> on_action) {
    (void)action;
    (void)on_action;
    return Notify(summary, body);
  }
};

}  // namespace trelvin
