// Stand-ins for desktop services on the session bus given by the environment, appending what they
// see to FILE, one line each. Without a switch: a notification-area watcher
// (org.kde.StatusNotifierWatcher, with a host registered) and the screen saver
// (org.freedesktop.ScreenSaver): "registered SERVICE", "gone SERVICE", "inhibit COOKIE",
// "uninhibit COOKIE", "locked", "unlocked"; SIGUSR1 locks the screen (ActiveChanged true), SIGUSR2
// unlocks it. With --notices: the notification service (org.freedesktop.Notifications), each
// notice's summary; with --take-actions it also takes the first action of each notice that offers
// one, as a user's click would. Runs until killed.
//   trelvin_session_standin FILE [--notices | --take-actions]
#include <csignal>
#include <cstdio>
#include <fstream>
#include <string>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QDBusVirtualObject>
#include <QObject>
#include <QTimer>

namespace {

const char* record_file = nullptr;
volatile std::sig_atomic_t wanted_lock = -1;  // -1: no change asked

void Record(const std::string& line) { std::ofstream(record_file, std::ios::app) << line << "\n"; }

class Watcher : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
  Q_PROPERTY(bool IsStatusNotifierHostRegistered READ HostRegistered)

 public:
  explicit Watcher(QDBusConnection bus) : gone_(this) {
    gone_.setConnection(bus);
    gone_.setWatchMode(QDBusServiceWatcher::WatchForUnregistration);
    connect(&gone_, &QDBusServiceWatcher::serviceUnregistered, this,
            [](const QString& service) { Record("gone " + service.toStdString()); });
  }
  bool HostRegistered() const { return true; }

 public slots:
  void RegisterStatusNotifierItem(const QString& service) {
    gone_.addWatchedService(service);
    Record("registered " + service.toStdString());
  }

 private:
  QDBusServiceWatcher gone_;
};

class ScreenSaver : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")

 public:
  void SetActive(bool active) {
    active_ = active;
    Record(active ? "locked" : "unlocked");
    emit ActiveChanged(active);
  }

 public slots:
  uint Inhibit(const QString&, const QString&) {
    Record("inhibit " + std::to_string(++cookie_));
    return cookie_;
  }
  void UnInhibit(uint cookie) { Record("uninhibit " + std::to_string(cookie)); }
  bool GetActive() const { return active_; }

 signals:
  void ActiveChanged(bool active);

 private:
  uint cookie_ = 0;
  bool active_ = false;
};

class Notifications : public QDBusVirtualObject {
 public:
  explicit Notifications(bool take_actions) : take_actions_(take_actions) {}
  QString introspect(const QString&) const override { return ""; }
  bool handleMessage(const QDBusMessage& message, const QDBusConnection& bus) override {
    if (message.member() == "Notify" && message.arguments().size() == 8) {
      Record(message.arguments()[3].toString().toStdString());
      ++id_;
      const QStringList actions = message.arguments()[5].toStringList();
      // Taken before the answer: the harshest order a client can see, which a busy client sees
      // anyway when its answer is handled late.
      if (take_actions_ && actions.size() >= 2) {
        QDBusMessage taken = QDBusMessage::createSignal(
            "/org/freedesktop/Notifications", "org.freedesktop.Notifications", "ActionInvoked");
        taken << QVariant::fromValue(id_) << actions[0];
        bus.send(taken);
      }
      bus.send(message.createReply(QVariant::fromValue(id_)));
      return true;
    }
    if (message.member() == "GetCapabilities") {
      bus.send(message.createReply(QVariant(QStringList{"body"})));
      return true;
    }
    return false;
  }

 private:
  bool take_actions_;
  uint id_ = 0;
};

}  // namespace

int main(int argc, char* argv[]) {
  const QString mode = argc == 3 ? argv[2] : "";
  if (argc < 2 || argc > 3 || !(mode == "" || mode == "--notices" || mode == "--take-actions")) {
    return 2;
  }
  record_file = argv[1];
  QCoreApplication app(argc, argv);
  QDBusConnection bus = QDBusConnection::sessionBus();
  Watcher watcher(bus);
  ScreenSaver saver;
  Notifications notices(mode == "--take-actions");
  const auto all = QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals |
                   QDBusConnection::ExportAllProperties;
  const bool registered =
      mode == "" ? bus.registerObject("/StatusNotifierWatcher", &watcher, all) &&
                       bus.registerObject("/org/freedesktop/ScreenSaver", &saver, all) &&
                       bus.registerService("org.kde.StatusNotifierWatcher") &&
                       bus.registerService("org.freedesktop.ScreenSaver")
                 : bus.registerVirtualObject("/org/freedesktop/Notifications", &notices) &&
                       bus.registerService("org.freedesktop.Notifications");
  if (!registered) {
    std::fprintf(stderr, "the stand-in services could not be registered\n");
    return 1;
  }
  std::signal(SIGUSR1, [](int) { wanted_lock = 1; });
  std::signal(SIGUSR2, [](int) { wanted_lock = 0; });
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (wanted_lock < 0) return;
    saver.SetActive(wanted_lock == 1);
    wanted_lock = -1;
  });
  poll.start(20);
  // Ready: the bus knows the names from here on.
  std::ofstream(record_file, std::ios::app).flush();
  return app.exec();
}

#include "session_standin.moc"
