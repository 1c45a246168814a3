#include "os/linux/desktop/DBusSessionPresence.h"

#include <unistd.h>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>

namespace trelvin {

namespace {

constexpr char kLogin[] = "org.freedesktop.login1";
constexpr char kSession[] = "org.freedesktop.login1.Session";
constexpr char kProperties[] = "org.freedesktop.DBus.Properties";

// Calls `method` without waiting and hands a successful answer to `then`.
template <class Reply, class Then>
void AskAsync(QObject* context, QDBusConnection bus, const QDBusMessage& call, Then then) {
  auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), context);
  QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context,
                   [then](QDBusPendingCallWatcher* answer) {
                     answer->deleteLater();
                     QDBusPendingReply<Reply> reply = *answer;
                     if (!reply.isError()) then(reply.value());
                   });
}

}  // namespace

DBusSessionPresence::DBusSessionPresence() {
  QDBusConnection session = QDBusConnection::sessionBus();
  if (session.isConnected()) {
    // KDE and others send it on both paths.
    for (const char* path : {"/org/freedesktop/ScreenSaver", "/ScreenSaver"}) {
      session.connect("org.freedesktop.ScreenSaver", path, "org.freedesktop.ScreenSaver",
                      "ActiveChanged", this, SLOT(SaverActiveChanged(bool)));
    }
    session.connect("org.gnome.ScreenSaver", "/org/gnome/ScreenSaver", "org.gnome.ScreenSaver",
                    "ActiveChanged", this, SLOT(GnomeActiveChanged(bool)));
    // A program started behind a lock screen learns it now, not at the next change.
    AskAsync<bool>(this, session,
                   QDBusMessage::createMethodCall("org.freedesktop.ScreenSaver",
                                                  "/org/freedesktop/ScreenSaver",
                                                  "org.freedesktop.ScreenSaver", "GetActive"),
                   [this](bool active) { saver_active_ = active; });
  }
  QDBusConnection system = QDBusConnection::systemBus();
  if (!system.isConnected()) return;
  QDBusMessage find = QDBusMessage::createMethodCall(
      kLogin, "/org/freedesktop/login1", "org.freedesktop.login1.Manager", "GetSessionByPID");
  find << static_cast<unsigned>(::getpid());
  AskAsync<QDBusObjectPath>(
      this, system, find, [this](const QDBusObjectPath& path) { WatchLogindSession(path.path()); });
}

void DBusSessionPresence::WatchLogindSession(const QString& path) {
  QDBusConnection system = QDBusConnection::systemBus();
  system.connect(kLogin, path, kProperties, "PropertiesChanged", this,
                 SLOT(SessionPropertiesChanged(QString, QVariantMap, QStringList)));
  QDBusMessage all = QDBusMessage::createMethodCall(kLogin, path, kProperties, "GetAll");
  all << QString(kSession);
  AskAsync<QVariantMap>(this, system, all, [this](const QVariantMap& properties) {
    TakeSessionProperties(properties);
  });
}

void DBusSessionPresence::SessionPropertiesChanged(const QString& interface,
                                                   const QVariantMap& changed,
                                                   const QStringList& invalidated) {
  (void)invalidated;
  if (interface == kSession) TakeSessionProperties(changed);
}

void DBusSessionPresence::TakeSessionProperties(const QVariantMap& properties) {
  if (properties.contains("LockedHint")) locked_hint_ = properties.value("LockedHint").toBool();
  if (properties.contains("Active")) session_active_ = properties.value("Active").toBool();
}

}  // namespace trelvin
