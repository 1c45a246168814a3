#include "os/linux/app/SessionEnd.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <utility>

#include <QApplication>
#include <QDialog>
#include <QSessionManager>
#include <QSocketNotifier>
#include <QWidget>

namespace trelvin {

namespace {

constexpr int kSignals[] = {SIGTERM, SIGHUP};

// The self-pipe: the handler only writes a byte, the event loop reads it.
int signal_pipe[2] = {-1, -1};
// Per signal: set when it comes, cleared once the event loop has handled it.
std::atomic<bool> signal_pending[NSIG];
static_assert(std::atomic<bool>::is_always_lock_free);

void OnSignal(int number) {
  // The same signal again before the loop came to the first: the program hangs, so end it the
  // default way. (Another signal does not count: systemd sends SIGHUP right after SIGTERM.)
  if (signal_pending[number].exchange(true)) {
    std::signal(number, SIG_DFL);
    std::raise(number);
    return;
  }
  const int saved = errno;
  const char byte = 1;
  [[maybe_unused]] const ssize_t written = write(signal_pipe[1], &byte, 1);
  errno = saved;
}

}  // namespace

SessionEnd::SessionEnd(std::function<void()> unload_forms)
    : unload_forms_(std::move(unload_forms)) {
  connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) { End(); });
  connect(qApp, &QCoreApplication::aboutToQuit, this, [this] { End(); });
  if (pipe2(signal_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  notifier_ = std::make_unique<QSocketNotifier>(signal_pipe[0], QSocketNotifier::Read);
  connect(notifier_.get(), &QSocketNotifier::activated, this, [this] {
    char bytes[16];
    while (read(signal_pipe[0], bytes, sizeof bytes) > 0) {
    }
    End();
    for (int number : kSignals) signal_pending[number] = false;
  });
  struct sigaction action = {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int number : kSignals) sigaction(number, &action, nullptr);
}

SessionEnd::~SessionEnd() {
  if (!notifier_) return;
  for (int number : kSignals) std::signal(number, SIG_DFL);
  notifier_.reset();
  close(signal_pipe[0]);
  close(signal_pipe[1]);
  signal_pipe[0] = signal_pipe[1] = -1;
}

void SessionEnd::End() {
  if (ending_) return;
  ending_ = true;
  // A question box or the folder dialog runs a loop of its own inside a handler: answered No (a
  // question's escape button) or cancelled, it returns once this is done, and its handler goes
  // on to nothing, its form being unloaded by then.
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->isVisible() && qobject_cast<QDialog*>(widget)) widget->close();
  }
  unload_forms_();
  ending_ = false;
}

}  // namespace trelvin
