#include "os/linux/capture/PortalScreenCast.h"

#include <fcntl.h>

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusUnixFileDescriptor>
#include <QMetaObject>

#include <utility>

namespace trelvin {

namespace {

const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kScreenCast = QStringLiteral("org.freedesktop.portal.ScreenCast");
const QString kRequest = QStringLiteral("org.freedesktop.portal.Request");
const QString kSession = QStringLiteral("org.freedesktop.portal.Session");
// A portal method answers at once (the user's answer comes later as a signal).
constexpr int kCallLimitMs = 10000;
constexpr uint kSourceMonitor = 1;
constexpr uint kCursorEmbedded = 2;
constexpr uint kPersistUntilRevoked = 2;

// ":1.42" becomes "1_42", as the portal names its request objects.
QString SenderPart() {
  QString name = QDBusConnection::sessionBus().baseService();
  if (name.startsWith(':')) name.remove(0, 1);
  return name.replace('.', '_');
}

// Fire and forget: a Close whose answer nobody needs.
void CallClose(const QString& path, const QString& interface) {
  QDBusConnection::sessionBus().asyncCall(
      QDBusMessage::createMethodCall(kService, path, interface, QStringLiteral("Close")));
}

// The first stream's node from Start's "streams" (a(ua{sv})), or nothing.
bool FirstNode(const QVariant& streams, std::uint32_t& node) {
  if (!streams.canConvert<QDBusArgument>()) return false;
  const QDBusArgument argument = streams.value<QDBusArgument>();
  if (argument.currentType() != QDBusArgument::ArrayType) return false;
  bool found = false;
  argument.beginArray();
  while (!argument.atEnd()) {
    uint id = 0;
    QVariantMap properties;
    argument.beginStructure();
    argument >> id >> properties;
    argument.endStructure();
    if (!found) {
      node = id;
      found = true;
    }
  }
  argument.endArray();
  return found;
}

}  // namespace

PortalScreenCast::PortalScreenCast() = default;

PortalScreenCast::~PortalScreenCast() { Close(); }

void PortalScreenCast::Open(const std::string& restore_token, Done done, Closed closed) {
  Close();
  done_ = std::move(done);
  closed_ = std::move(closed);
  restore_token_ = restore_token;
  if (!QDBusConnection::sessionBus().isConnected()) {
    const unsigned generation = generation_;
    QMetaObject::invokeMethod(
        this,
        [this, generation] {
          if (generation == generation_) Finish(ScreenCastOutcome::kFailed);
        },
        Qt::QueuedConnection);
    return;
  }
  const QString session_token = QStringLiteral("trelvin_session%1").arg(++serial_);
  // Known before the answer, so Close can end a session whose creation is still under way.
  session_path_ = QStringLiteral("/org/freedesktop/portal/desktop/session/%1/%2")
                      .arg(SenderPart(), session_token);
  Request(Step::kCreate, QStringLiteral("CreateSession"), {},
          {{QStringLiteral("session_handle_token"), session_token}});
}

void PortalScreenCast::Close() {
  ++generation_;
  if (step_ != Step::kNone && !request_path_.isEmpty()) CallClose(request_path_, kRequest);
  StopListening();
  if (!session_path_.isEmpty()) {
    if (session_listened_) {
      QDBusConnection::sessionBus().disconnect(kService, session_path_, kSession,
                                               QStringLiteral("Closed"), this,
                                               SLOT(OnSessionClosed(QDBusMessage)));
    }
    CallClose(session_path_, kSession);
  }
  session_listened_ = false;
  session_path_.clear();
  step_ = Step::kNone;
  done_ = nullptr;
  closed_ = nullptr;
}

void PortalScreenCast::Request(Step step, const QString& method, QList<QVariant> arguments,
                               QVariantMap options) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  const QString token = QStringLiteral("trelvin%1").arg(++serial_);
  options.insert(QStringLiteral("handle_token"), token);
  step_ = step;
  request_path_ =
      QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(SenderPart(), token);
  bus.connect(kService, request_path_, kRequest, QStringLiteral("Response"), this,
              SLOT(OnResponse(QDBusMessage)));
  QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kScreenCast, method);
  arguments.append(options);
  call.setArguments(arguments);
  auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, kCallLimitMs), this);
  const unsigned generation = generation_;
  connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, generation, step] {
    watcher->deleteLater();
    if (generation != generation_ || step != step_) return;
    if (watcher->isError()) Finish(ScreenCastOutcome::kFailed);
  });
}

void PortalScreenCast::StopListening() {
  if (request_path_.isEmpty()) return;
  QDBusConnection::sessionBus().disconnect(kService, request_path_, kRequest,
                                           QStringLiteral("Response"), this,
                                           SLOT(OnResponse(QDBusMessage)));
  request_path_.clear();
}

void PortalScreenCast::OnResponse(const QDBusMessage& message) {
  if (message.path() != request_path_ || message.arguments().size() < 2) return;
  const uint response = message.arguments().at(0).toUInt();
  const QVariantMap results = qdbus_cast<QVariantMap>(message.arguments().at(1));
  const Step step = step_;
  StopListening();
  if (response != 0) {
    Finish(response == 1 ? ScreenCastOutcome::kCancelled : ScreenCastOutcome::kFailed);
    return;
  }
  const QDBusObjectPath session(session_path_);
  switch (step) {
    case Step::kCreate: {
      const QString handle = results.value(QStringLiteral("session_handle")).toString();
      if (!handle.isEmpty()) session_path_ = handle;
      session_listened_ = QDBusConnection::sessionBus().connect(
          kService, session_path_, kSession, QStringLiteral("Closed"), this,
          SLOT(OnSessionClosed(QDBusMessage)));
      QVariantMap options{
          {QStringLiteral("types"), QVariant::fromValue<uint>(kSourceMonitor)},
          {QStringLiteral("multiple"), false},
          {QStringLiteral("cursor_mode"), QVariant::fromValue<uint>(kCursorEmbedded)},
          {QStringLiteral("persist_mode"), QVariant::fromValue<uint>(kPersistUntilRevoked)}};
      if (!restore_token_.empty()) {
        options.insert(QStringLiteral("restore_token"), QString::fromStdString(restore_token_));
      }
      Request(Step::kSelect, QStringLiteral("SelectSources"),
              {QVariant::fromValue(QDBusObjectPath(session_path_))}, options);
      break;
    }
    case Step::kSelect:
      Request(Step::kStart, QStringLiteral("Start"), {QVariant::fromValue(session), QString()}, {});
      break;
    case Step::kStart: {
      std::uint32_t node = 0;
      if (!FirstNode(results.value(QStringLiteral("streams")), node)) {
        Finish(ScreenCastOutcome::kFailed);
        return;
      }
      OpenRemote(results.value(QStringLiteral("restore_token")).toString().toStdString(), node);
      break;
    }
    case Step::kNone:
      break;
  }
}

void PortalScreenCast::OpenRemote(const std::string& restore_token, std::uint32_t node) {
  QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kScreenCast,
                                                     QStringLiteral("OpenPipeWireRemote"));
  call.setArguments({QVariant::fromValue(QDBusObjectPath(session_path_)), QVariantMap()});
  step_ = Step::kStart;
  auto* watcher = new QDBusPendingCallWatcher(
      QDBusConnection::sessionBus().asyncCall(call, kCallLimitMs), this);
  const unsigned generation = generation_;
  connect(watcher, &QDBusPendingCallWatcher::finished, this,
          [this, watcher, generation, restore_token, node] {
            watcher->deleteLater();
            if (generation != generation_) return;
            QDBusPendingReply<QDBusUnixFileDescriptor> reply = *watcher;
            const int fd = reply.isValid() && reply.value().isValid()
                               ? fcntl(reply.value().fileDescriptor(), F_DUPFD_CLOEXEC, 3)
                               : -1;
            if (fd < 0) {
              Finish(ScreenCastOutcome::kFailed);
              return;
            }
            Finish(ScreenCastOutcome::kStarted, {fd, node, restore_token});
          });
}

void PortalScreenCast::Finish(ScreenCastOutcome outcome, ScreenCastGrant grant) {
  step_ = Step::kNone;
  StopListening();
  Done done = std::move(done_);
  done_ = nullptr;
  if (outcome != ScreenCastOutcome::kStarted) {
    // Nothing to keep open: the session, if the desktop made one, ends now.
    Close();
  }
  if (done) done(outcome, std::move(grant));
}

void PortalScreenCast::OnSessionClosed(const QDBusMessage& message) {
  if (message.path() != session_path_) return;
  QDBusConnection::sessionBus().disconnect(kService, session_path_, kSession,
                                           QStringLiteral("Closed"), this,
                                           SLOT(OnSessionClosed(QDBusMessage)));
  session_listened_ = false;
  session_path_.clear();
  if (step_ != Step::kNone) {
    Finish(ScreenCastOutcome::kFailed);
    return;
  }
  Closed closed = std::move(closed_);
  closed_ = nullptr;
  if (closed) closed();
}

}  // namespace trelvin
