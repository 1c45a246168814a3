#include "os/linux/desktop/DBusActionNotifications.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QStringList>
#include <QVariantMap>

namespace trelvin {

namespace {

constexpr char kService[] = "org.freedesktop.Notifications";
constexpr char kPath[] = "/org/freedesktop/Notifications";
// "default" is what a click on the notice itself sends (GNOME shows no button for it); the second
// key gives the action a button where the server shows buttons.
constexpr char kClickKey[] = "default";
constexpr char kButtonKey[] = "take";

}  // namespace

DBusActionNotifications::DBusActionNotifications() {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return;
  bus.connect(kService, kPath, kService, "ActionInvoked", this, SLOT(ActionInvoked(uint, QString)));
  bus.connect(kService, kPath, kService, "NotificationClosed", this,
              SLOT(NotificationClosed(uint, uint)));
}

bool DBusActionNotifications::NotifyWithAction(const std::string& summary, const std::string& body,
                                               const std::string& action,
                                               std::function<void()> on_action) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return false;
  QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kService, "Notify");
  QVariantMap hints;
  hints.insert("urgency", QVariant::fromValue<uchar>(1));
  const QString label = QString::fromStdString(action);
  const QStringList actions{kClickKey, label, kButtonKey, label};
  call << QString("Trelvin Show") << 0u << QString("trelvinshow") << QString::fromStdString(summary)
       << QString::fromStdString(body).toHtmlEscaped() << actions << hints << -1;
  // The notice's id comes with the answer; the action is kept under it. Nothing waits for it.
  auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
  connect(watcher, &QDBusPendingCallWatcher::finished, this,
          [this, on_action = std::move(on_action)](QDBusPendingCallWatcher* finished) {
            const QDBusPendingReply<uint> reply = *finished;
            finished->deleteLater();
            if (reply.isError()) return;
            actions_[reply.value()] = on_action;
            const auto early = taken_early_.find(reply.value());
            if (early == taken_early_.end()) return;
            const QString key = early->second;
            taken_early_.erase(early);
            Take(reply.value(), key);
          });
  return true;
}

void DBusActionNotifications::ActionInvoked(uint id, const QString& key) {
  if (actions_.count(id) == 0) {
    constexpr std::size_t kEarlyKept = 16;
    if (taken_early_.size() >= kEarlyKept) taken_early_.erase(taken_early_.begin());
    taken_early_[id] = key;
    return;
  }
  Take(id, key);
}

void DBusActionNotifications::Take(uint id, const QString& key) {
  const auto it = actions_.find(id);
  if (it == actions_.end() || (key != kClickKey && key != kButtonKey)) return;
  const std::function<void()> action = it->second;
  actions_.erase(it);
  if (action) action();
}

void DBusActionNotifications::NotificationClosed(uint id, uint /*reason*/) { actions_.erase(id); }

}  // namespace trelvin
