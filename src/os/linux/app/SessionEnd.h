#pragma once

#include <functional>
#include <memory>

#include <QObject>

class QSocketNotifier;

namespace trelvin {

// The end of the session, or of the program by a signal: SIGTERM and SIGHUP (log-off, a service
// manager, a closed terminal) and the session manager's requests (commit data, quit). Each closes
// the program's windows as the user closing them would, from the event loop: a question or a
// folder dialog that is open is answered No or cancelled, then the forms unload, so the settings
// window writes its eight settings and ends a capture run, and the program leaves with status 0.
// The same signal a second time before the first was handled ends the process at once, so a
// program that hangs can still be stopped. One object per process; not for the screen-saver
// module, whose host ends the show on SIGTERM itself.
class SessionEnd : public QObject {
  Q_OBJECT

 public:
  // `unload_forms` unloads the open forms, the innermost first; it runs on the window thread.
  explicit SessionEnd(std::function<void()> unload_forms);
  ~SessionEnd() override;

 private:
  void End();

  std::function<void()> unload_forms_;
  std::unique_ptr<QSocketNotifier> notifier_;
  bool ending_ = false;
};

}  // namespace trelvin
