#include "os/linux/window/QtWindowRuntime.h"

#include <unistd.h>

#include <cstdio>

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>

#include "os/linux/saver/ScreenSaverHost.h"
#include "os/linux/window/QtCoverWindows.h"
#include "os/linux/window/QtFormWindow.h"

namespace trelvin {

QtWindowRuntime::QtWindowRuntime() = default;

QtWindowRuntime::~QtWindowRuntime() {
  for (auto& [form, window] : windows_) const_cast<Form*>(form)->SetHost(nullptr);
}

int QtWindowRuntime::Run(Form& startup) {
  QtFormWindow* window = CreateWindow(startup, nullptr);
  window->events().Load();
  if (!startup.Loaded()) {
    DestroyWindow(startup);
    return 0;
  }
  // The start-up window appears in the middle of the primary screen.
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    const Rect g = startup.Geometry();
    window->move(area.center() - QPoint(g.width / 2, g.height / 2));
  }
  startup.SetVisible(true);
  window->show();
  window->RunModal();
  DestroyWindow(startup);
  return 0;
}

Size QtWindowRuntime::ScreenSize() const {
  if (embed_in_) return embed_in_->HostSize();
  QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return {};
  // Every pixel of the screen: a capture holds all of them, and a picture at its natural size
  // covers one screen pixel per picture pixel.
  const QSize size = DeviceSize(*screen);
  return {size.width(), size.height()};
}

void QtWindowRuntime::ShowModal(Form& form, Form& owner) {
  if (form.Loaded()) return;
  if (QtFormWindow* window = Open(form, &owner, true)) {
    // A show full screen on the primary monitor leaves no other monitor showing the desktop.
    // Inside a screen saver's window the daemon covers each monitor itself.
    std::unique_ptr<QtCoverWindows> covers;
    if (!embed_in_ && window->isFullScreen()) {
      covers = std::make_unique<QtCoverWindows>(*window);
      window->activateWindow();
      window->raise();
    }
    window->RunModal();
  }
  DestroyWindow(form);
}

QtFormWindow* QtWindowRuntime::Open(Form& form, Form* owner, bool modal) {
  QtFormWindow* window = CreateWindow(form, embed_in_ || !owner ? nullptr : WidgetFor(*owner));
  if (embed_in_) embed_in_->Embed(*window);
  if (modal) window->setWindowModality(Qt::ApplicationModal);
  window->events().Load();
  if (!form.Loaded()) return nullptr;
  if (!window->isVisible()) {
    form.SetVisible(true);
    window->show();
  }
  if (!embed_in_) {
    window->activateWindow();
    window->raise();
  }
  return window;
}

void QtWindowRuntime::EndAtOnce() {
  // No unload handler runs and nothing is written: leave without any clean-up of the toolkit.
  std::fflush(nullptr);
  _exit(0);
}

void QtWindowRuntime::CloseForm(Form& form) {
  auto it = windows_.find(&form);
  if (it == windows_.end()) {
    form.RunUnload();
    return;
  }
  it->second->events().Unload();
  it->second->FormUnloaded();
}

QWidget* QtWindowRuntime::WidgetFor(const Form& form) const {
  auto it = windows_.find(&form);
  return it == windows_.end() ? nullptr : it->second.get();
}

QtFormWindow* QtWindowRuntime::CreateWindow(Form& form, QWidget* owner) {
  auto window = std::make_unique<QtFormWindow>(form, owner);
  QtFormWindow* raw = window.get();
  windows_[&form] = std::move(window);
  form.SetHost(this);
  return raw;
}

void QtWindowRuntime::DestroyWindow(Form& form) {
  form.SetHost(nullptr);
  auto it = windows_.find(&form);
  if (it == windows_.end()) return;
  windows_.erase(it);
}

}  // namespace trelvin
