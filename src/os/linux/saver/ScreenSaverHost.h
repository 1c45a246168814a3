#pragma once

#include <memory>
#include <string>

#include <QObject>

#include "core/base/Types.h"

struct _XDisplay;
class QSocketNotifier;
class QWidget;
class QWindow;

namespace trelvin {

// The window a screen-saver daemon gave the program to draw into, and the daemon's way of ending
// it. The slide show becomes a child of that window: it never maps a window of its own, takes no
// keyboard focus and lets pointer events through, so keys and clicks stay with the daemon.
// SIGTERM, or the host window's destruction, closes the open windows through their forms, so the
// show ends as after a key: music closed with "close all", the cursor restored, and the program
// leaves with status 0.
class ScreenSaverHost : public QObject {
  Q_OBJECT

 public:
  // mate-screensaver and xfce4-screensaver start a module with little of the session's
  // environment. Restores XDG_RUNTIME_DIR from the user's standard runtime directory, so the
  // sound server is found where the rest of the session has it.
  static void RestoreRuntimeDirectory();

  // `window` is an X window id; 0 stands for the root window of the default screen.
  explicit ScreenSaverHost(unsigned long window);
  ~ScreenSaverHost() override;

  // Empty when the window exists and SIGTERM is handled; otherwise why not.
  const std::string& Problem() const { return problem_; }
  // The host window's size in pixels, read when it is asked for.
  Size HostSize() const;
  // Makes `widget`, a window not yet shown, a child of the host window filling it.
  void Embed(QWidget& widget);

 private:
  void Terminate();
  // Reads the events of the watch on the host window; its destruction ends the show.
  void ReadWatch();

  unsigned long window_id_ = 0;
  bool on_root_ = false;
  QWindow* host_ = nullptr;
  // A connection of its own that watches the host window for its destruction.
  _XDisplay* watch_ = nullptr;
  std::unique_ptr<QSocketNotifier> watch_notifier_;
  std::unique_ptr<QSocketNotifier> notifier_;
  std::string problem_;
};

}  // namespace trelvin
