#include "os/linux/desktop/DBusDisplayInhibit.h"

#include <source_location>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QObject>
#include <QVariantMap>

#include "core/base/Guard.h"

namespace trelvin {

namespace {

constexpr char kSaver[] = "org.freedesktop.ScreenSaver";
constexpr char kSaverPath[] = "/org/freedesktop/ScreenSaver";
constexpr char kPortal[] = "org.freedesktop.portal.Desktop";
constexpr char kPortalPath[] = "/org/freedesktop/portal/desktop";
constexpr unsigned kInhibitIdle = 8;

}  // namespace

DBusDisplayInhibit::DBusDisplayInhibit() : context_(std::make_unique<QObject>()) {}

DBusDisplayInhibit::~DBusDisplayInhibit() { Release(); }

bool DBusDisplayInhibit::Hold() {
  wanted_ = true;
  if (cookie_ || !request_.isEmpty() || pending_) return true;
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return false;
  QDBusMessage call = QDBusMessage::createMethodCall(kSaver, kSaverPath, kSaver, "Inhibit");
  call << QString("Trelvin Show") << QString("A capture is running");
  pending_ = true;
  auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), context_.get());
  QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context_.get(),
                   [this](QDBusPendingCallWatcher* answer) {
                     answer->deleteLater();
                     QDBusPendingReply<unsigned> reply = *answer;
                     pending_ = false;
                     if (reply.isError()) {
                       AskPortal();
                       return;
                     }
                     cookie_ = reply.value();
                     if (!wanted_) GiveBack();
                   });
  return true;
}

void DBusDisplayInhibit::AskPortal() {
  if (!wanted_) return;
  QDBusMessage call = QDBusMessage::createMethodCall(kPortal, kPortalPath,
                                                     "org.freedesktop.portal.Inhibit", "Inhibit");
  QVariantMap options;
  options.insert("reason", QString("A capture is running"));
  call << QString() << kInhibitIdle << options;
  pending_ = true;
  auto* watcher =
      new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), context_.get());
  QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context_.get(),
                   [this](QDBusPendingCallWatcher* answer) {
                     answer->deleteLater();
                     QDBusPendingReply<QDBusObjectPath> reply = *answer;
                     pending_ = false;
                     if (reply.isError()) {
                       TraceSwallowedFailure(std::source_location::current(),
                                             "the display cannot be kept awake: neither the "
                                             "screen saver nor the inhibit portal answered");
                       return;
                     }
                     request_ = reply.value().path();
                     if (!wanted_) GiveBack();
                   });
}

void DBusDisplayInhibit::Release() {
  wanted_ = false;
  GiveBack();
}

void DBusDisplayInhibit::GiveBack() {
  // Nothing held, nothing to say: the screen-saver module never connects to the bus for this.
  if (!cookie_ && request_.isEmpty()) return;
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (cookie_) {
    QDBusMessage call = QDBusMessage::createMethodCall(kSaver, kSaverPath, kSaver, "UnInhibit");
    call << *cookie_;
    bus.send(call);
    cookie_.reset();
  }
  if (!request_.isEmpty()) {
    bus.send(QDBusMessage::createMethodCall(kPortal, request_, "org.freedesktop.portal.Request",
                                            "Close"));
    request_.clear();
  }
}

}  // namespace trelvin
