#pragma once

#include <QDBusMessage>
#include <QObject>
#include <QString>
#include <QVariantMap>

#include "os/linux/capture/ScreenCastPortal.h"

namespace trelvin {

// org.freedesktop.portal.ScreenCast over QtDBus: CreateSession, SelectSources (one monitor,
// pointer embedded, persist mode 2 = until revoked, the restore token), Start, then
// OpenPipeWireRemote. Each request's answer comes as a Response signal on the request's object,
// listened for before the call is made; nothing here blocks the event loop.
class PortalScreenCast : public QObject, public ScreenCastPortal {
  Q_OBJECT

 public:
  PortalScreenCast();
  ~PortalScreenCast() override;

  void Open(const std::string& restore_token, Done done, Closed closed) override;
  void Close() override;

 private slots:
  void OnResponse(const QDBusMessage& message);
  void OnSessionClosed(const QDBusMessage& message);

 private:
  enum class Step { kNone, kCreate, kSelect, kStart };

  // Calls `method` of the portal with the options, after listening on the request's object.
  void Request(Step step, const QString& method, QList<QVariant> arguments, QVariantMap options);
  void Finish(ScreenCastOutcome outcome, ScreenCastGrant grant = {});
  void StopListening();
  void OpenRemote(const std::string& restore_token, std::uint32_t node);

  Done done_;
  Closed closed_;
  std::string restore_token_;
  Step step_ = Step::kNone;
  QString request_path_;
  QString session_path_;
  bool session_listened_ = false;
  unsigned serial_ = 0;      // makes every handle token unique
  unsigned generation_ = 0;  // answers to an earlier Open are ignored
};

}  // namespace trelvin
