#pragma once

#include "core/services/Notifications.h"

namespace trelvin {

// The desktop's notification service (org.freedesktop.Notifications) on the session bus. The
// call is sent without waiting for its answer, so a slow or missing service never holds up a
// capture; without a session bus nothing can be sent.
class DBusNotifications : public Notifications {
 public:
  bool Notify(const std::string& summary, const std::string& body) override;
};

}  // namespace trelvin
