#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include "core/services/SessionPresence.h"

namespace trelvin {

// The session's lock and presence from the signals the desktop sends: the screen saver's
// ActiveChanged (org.freedesktop.ScreenSaver, and GNOME's org.gnome.ScreenSaver) on the session
// bus, and logind's LockedHint and Active of this process's session on the system bus where
// logind knows one. Every question is asked without waiting; Away() answers from the last word.
class DBusSessionPresence : public QObject, public SessionPresence {
  Q_OBJECT

 public:
  DBusSessionPresence();
  bool Away() override {
    return saver_active_ || gnome_active_ || locked_hint_ || !session_active_;
  }

 private slots:
  void SaverActiveChanged(bool active) { saver_active_ = active; }
  void GnomeActiveChanged(bool active) { gnome_active_ = active; }
  void SessionPropertiesChanged(const QString& interface, const QVariantMap& changed,
                                const QStringList& invalidated);

 private:
  void WatchLogindSession(const QString& path);
  void TakeSessionProperties(const QVariantMap& properties);

  bool saver_active_ = false;
  bool gnome_active_ = false;
  bool locked_hint_ = false;
  bool session_active_ = true;
};

}  // namespace trelvin
