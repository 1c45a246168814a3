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
  void Take(uint id, const QString& key);

  std::map<uint, std::function<void()>> actions_;  // by the server's notice id
  // Actions taken on notices whose id had not come back yet (the signal can overtake the answer
  // to Notify); a few are enough, since other programs' notices land here too.
  std::map<uint, QString> taken_early_;
};

}  // namespace trelvin
