#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <map>

#include "os/linux/desktop/DBusNotifications.h"

namespace trelvin {

// DBusNotifications with one action on a notice: the action is offered to the notification
// service, and its ActionInvoked signal for that notice runs the action on the interface thread.
// Servers that show no actions show the notice alone.
class DBusActionNotifications : public QObject, public DBusNotifications {
  Q_OBJECT

 public:
  DBusActionNotifications();

  bool NotifyWithAction(const std::string& summary, const std::string& body,
                        const std::string& action, std::function<void()> on_action) override;

 private slots:
  void ActionInvoked(uint id, const QString& key);
  void NotificationClosed(uint id, uint reason);

 private:
  std::map<uint, std::function<void()>> actions_;  // by the server's notice id
};

}  // namespace trelvin
