// Stand-ins for two desktop services on the session bus given by the environment: a notification-
// area watcher (org.kde.StatusNotifierWatcher, with a host registered) and the screen saver
// (org.freedesktop.ScreenSaver). Appends what they see to the file named by the argument, one line
// each: "registered SERVICE", "gone SERVICE", "inhibit COOKIE", "uninhibit COOKIE", "locked",
// "unlocked". SIGUSR1 locks the screen (ActiveChanged true), SIGUSR2 unlocks it. Runs until killed.
//   trelvin_session_standin FILE
#include <csignal>
#include <cstdio>
#include <fstream>
#include <string>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusServiceWatcher>
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

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 2) return 2;
  record_file = argv[1];
  QCoreApplication app(argc, argv);
  QDBusConnection bus = QDBusConnection::sessionBus();
  Watcher watcher(bus);
  ScreenSaver saver;
  const auto all = QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals |
                   QDBusConnection::ExportAllProperties;
  if (!bus.registerObject("/StatusNotifierWatcher", &watcher, all) ||
      !bus.registerObject("/org/freedesktop/ScreenSaver", &saver, all) ||
      !bus.registerService("org.kde.StatusNotifierWatcher") ||
      !bus.registerService("org.freedesktop.ScreenSaver")) {
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
