#include "os/linux/desktop/DBusNotifications.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QString>
#include <QStringList>
#include <QVariantMap>

namespace trelvin {

bool DBusNotifications::Notify(const std::string& summary, const std::string& body) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return false;
  QDBusMessage call = QDBusMessage::createMethodCall("org.freedesktop.Notifications",
                                                     "/org/freedesktop/Notifications",
                                                     "org.freedesktop.Notifications", "Notify");
  // Servers may read the body as simple markup: a folder's name must show as it is.
  const QString text = QString::fromStdString(body).toHtmlEscaped();
  // Urgency "normal" (1), and no expiry of our own: the server's default applies.
  QVariantMap hints;
  hints.insert("urgency", QVariant::fromValue<uchar>(1));
  call << QString("Trelvin Show") << 0u << QString("trelvinshow") << QString::fromStdString(summary)
       << text << QStringList() << hints << -1;
  return bus.send(call);
}

}  // namespace trelvin
