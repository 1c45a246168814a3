// A stand-in for the desktop's notification service: owns org.freedesktop.Notifications on the
// session bus given by the environment and appends each notice's summary, one line each, to the
// file named by its argument. With --take-actions it also takes the first action of each notice
// that offers one, as a user's click would. Runs until killed.
//   trelvin_notification_standin FILE [--take-actions]
#include <cstdio>
#include <fstream>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>

namespace {

class Notifications : public QDBusVirtualObject {
 public:
  Notifications(const char* file, bool take_actions) : file_(file), take_actions_(take_actions) {}
  QString introspect(const QString&) const override { return ""; }
  bool handleMessage(const QDBusMessage& message, const QDBusConnection& bus) override {
    if (message.member() == "Notify" && message.arguments().size() == 8) {
      std::ofstream(file_, std::ios::app)
          << message.arguments()[3].toString().toStdString() << "\n";
      bus.send(message.createReply(QVariant::fromValue(++id_)));
      const QStringList actions = message.arguments()[5].toStringList();
      if (take_actions_ && actions.size() >= 2) {
        QDBusMessage taken = QDBusMessage::createSignal(
            "/org/freedesktop/Notifications", "org.freedesktop.Notifications", "ActionInvoked");
        taken << QVariant::fromValue(id_) << actions[0];
        bus.send(taken);
      }
      return true;
    }
    if (message.member() == "GetCapabilities") {
      bus.send(message.createReply(QVariant(QStringList{"body"})));
      return true;
    }
    return false;
  }

 private:
  const char* file_;
  bool take_actions_;
  uint id_ = 0;
};

}  // namespace

int main(int argc, char* argv[]) {
  const bool take_actions = argc == 3 && QString(argv[2]) == "--take-actions";
  if (argc != 2 && !take_actions) return 2;
  QCoreApplication app(argc, argv);
  QDBusConnection bus = QDBusConnection::sessionBus();
  Notifications service(argv[1], take_actions);
  if (!bus.registerVirtualObject("/org/freedesktop/Notifications", &service) ||
      !bus.registerService("org.freedesktop.Notifications")) {
    std::fprintf(stderr, "the notification service could not be registered\n");
    return 1;
  }
  // Ready: the bus knows the name from here on.
  std::ofstream(argv[1], std::ios::app).flush();
  return app.exec();
}
