// A stand-in for the desktop's notification service: owns org.freedesktop.Notifications on the
// session bus given by the environment and appends each notice's summary, one line each, to the
// file named by its argument. Runs until killed.
//   trelvin_notification_standin FILE
#include <cstdio>
#include <fstream>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>

namespace {

class Notifications : public QDBusVirtualObject {
 public:
  explicit Notifications(const char* file) : file_(file) {}
  QString introspect(const QString&) const override { return ""; }
  bool handleMessage(const QDBusMessage& message, const QDBusConnection& bus) override {
    if (message.member() == "Notify" && message.arguments().size() == 8) {
      std::ofstream(file_, std::ios::app)
          << message.arguments()[3].toString().toStdString() << "\n";
      bus.send(message.createReply(QVariant::fromValue(++id_)));
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
  uint id_ = 0;
};

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 2) return 2;
  QCoreApplication app(argc, argv);
  QDBusConnection bus = QDBusConnection::sessionBus();
  Notifications service(argv[1]);
  if (!bus.registerVirtualObject("/org/freedesktop/Notifications", &service) ||
      !bus.registerService("org.freedesktop.Notifications")) {
    std::fprintf(stderr, "the notification service could not be registered\n");
    return 1;
  }
  // Ready: the bus knows the name from here on.
  std::ofstream(argv[1], std::ios::app).flush();
  return app.exec();
}
