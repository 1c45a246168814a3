#include "os/linux/app/StartSignal.h"

#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QPushButton>
#include <QSocketNotifier>
#include <QTimer>

#include <csignal>

namespace trelvin {

namespace {

int g_pipe[2] = {-1, -1};

void OnSignal(int) {
  const char byte = 1;
  // Only async-signal-safe calls here; a full pipe means a click is already pending.
  [[maybe_unused]] const ssize_t n = write(g_pipe[1], &byte, 1);
}

// Clicks the start/stop button once it is shown; tries again shortly until then.
void ClickWhenShown() {
  for (QWidget* widget : QApplication::allWidgets()) {
    auto* button = qobject_cast<QPushButton*>(widget);
    if (button && button->isVisible() && button->isEnabled() &&
        (button->text() == "&Start" || button->text() == "&Stop")) {
      button->click();
      return;
    }
  }
  QTimer::singleShot(50, [] { ClickWhenShown(); });
}

}  // namespace

void StartSignal::Install() {
  if (pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGUSR1, &action, nullptr);
  auto* notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, qApp);
  QObject::connect(notifier, &QSocketNotifier::activated, [] {
    char bytes[16];
    const ssize_t n = read(g_pipe[0], bytes, sizeof bytes);
    for (ssize_t i = 0; i < n; ++i) ClickWhenShown();
  });
}

}  // namespace trelvin
