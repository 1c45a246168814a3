#pragma once

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
};

}  // namespace trelvin
