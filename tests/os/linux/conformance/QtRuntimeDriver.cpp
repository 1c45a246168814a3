// The conformance suite's driver for the Qt runtime, on the display the test's wrapper started.
#include <map>

#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>

#include "conformance/RuntimeDriver.h"
#include "core/base/VirtualKeys.h"
#include "core/runtime/FormRules.h"
#include "os/linux/window/QtFormWindow.h"
#include "os/linux/window/QtWindowRuntime.h"

namespace trelvin::conformance {
namespace {

Qt::KeyboardModifiers Modifiers(std::int16_t shift) {
  Qt::KeyboardModifiers modifiers;
  if (shift & kShiftMask) modifiers |= Qt::ShiftModifier;
  if (shift & kCtrlMask) modifiers |= Qt::ControlModifier;
  if (shift & kAltMask) modifiers |= Qt::AltModifier;
  return modifiers;
}

// The Qt keys of the codes the suite posts.
int QtKey(std::int16_t key_code) {
  static const std::map<std::int16_t, int> kKeys = {{kVkTab, Qt::Key_Tab},
                                                    {kVkEscape, Qt::Key_Escape},
                                                    {kVkSpace, Qt::Key_Space},
                                                    {kVkNext, Qt::Key_PageDown},
                                                    {kVkDelete, Qt::Key_Delete},
                                                    {kVkF10, Qt::Key_F10},
                                                    {kVkS, Qt::Key_S}};
  return kKeys.at(key_code);
}

class QtRuntimeDriver : public RuntimeDriver {
 public:
  bool Open(Form& form) override { return runtime_.Open(form, nullptr) != nullptr; }
  void Discard(Form& form) override { runtime_.DestroyWindow(form); }
  void ShowModal(Form& form, Form& owner) override { runtime_.ShowModal(form, owner); }

  void PostKey(Form& form, std::int16_t key_code, std::int16_t shift) override {
    QWidget* window = runtime_.WidgetFor(form);
    QWidget* target = window->focusWidget() ? window->focusWidget() : window;
    const int key = key_code == kVkTab && (shift & kShiftMask) ? Qt::Key_Backtab : QtKey(key_code);
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, key, Modifiers(shift)));
  }
  void PostMouseDown(Form& form, std::int16_t button, std::int16_t shift, int x, int y) override {
    const Qt::MouseButton qt_button = button == kLeftButton    ? Qt::LeftButton
                                      : button == kRightButton ? Qt::RightButton
                                                               : Qt::MiddleButton;
    QWidget* window = runtime_.WidgetFor(form);
    const QPointF at(x, y);
    QCoreApplication::postEvent(
        window, new QMouseEvent(QEvent::MouseButtonPress, at, window->mapToGlobal(at), qt_button,
                                qt_button, Modifiers(shift)));
  }
  void PostClose(Form& form) override {
    QCoreApplication::postEvent(runtime_.WidgetFor(form), new QCloseEvent);
  }

  bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) override {
    // Wakes the loop now and then, so that the limit is kept without events.
    QTimer wake;
    wake.start(10);
    QElapsedTimer elapsed;
    elapsed.start();
    while (!done()) {
      if (elapsed.elapsed() > limit.count()) return false;
      QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
  }

  Rect WindowRect(Form& form) override {
    const QRect g = runtime_.WidgetFor(form)->geometry();
    return {g.x(), g.y(), g.width(), g.height()};
  }
  bool FullScreen(Form& form) override { return runtime_.WidgetFor(form)->isFullScreen(); }
  Size PrimaryScreen() override { return runtime_.ScreenSize(); }
  Control* Focused(Form& form) override {
    auto* window = qobject_cast<QtFormWindow*>(runtime_.WidgetFor(form));
    for (Control* control : form.Controls()) {
      if (window->ViewOf(*control) == window->focusWidget()) return control;
    }
    return nullptr;
  }

 private:
  QtWindowRuntime runtime_;
};

}  // namespace

std::unique_ptr<RuntimeDriver> MakeDriver() {
  static int argc = 1;
  static char name[] = "conformance_tests";
  static char* argv[] = {name, nullptr};
  static auto* app = new QApplication(argc, argv);
  (void)app;
  return std::make_unique<QtRuntimeDriver>();
}

}  // namespace trelvin::conformance
