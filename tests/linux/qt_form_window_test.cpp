// The Qt window of a form: what reaches the form's handlers while it closes.
#include <gtest/gtest.h>

#include <memory>

#include <QKeyEvent>

#include "core/base/VirtualKeys.h"
#include "linux/QtTestApp.h"
#include "os/linux/window/QtFormWindow.h"

namespace trelvin {
namespace {

// A borderless form that closes on Escape, as the slide show does, and counts the other keys.
class ClosingForm : public Form {
 public:
  ClosingForm() : Form("formTest") { SetBorder(BorderStyle::kNone); }
  void Form_KeyDown(std::int16_t& KeyCode, std::int16_t Shift) override {
    (void)Shift;
    if (KeyCode == kVkEscape) {
      Unload();
    } else {
      ++other_keys;
    }
  }
  int other_keys = 0;
};

// Closes the form as the runtime does: its unload, then the end of its window's modal loop.
class Host : public FormHost {
 public:
  void CloseForm(Form& form) override {
    form.RunUnload();
    if (window) window->FormUnloaded();
  }
  QtFormWindow* window = nullptr;
};

TEST(QtFormWindowTest, KeysQueuedBehindTheClosingKeyDoNotReachTheForm) {
  QtTestApp();
  ClosingForm form;
  Host host;
  auto window = std::make_unique<QtFormWindow>(form, nullptr);
  host.window = window.get();
  form.SetHost(&host);
  form.RunLoad();
  form.SetVisible(true);
  // Escape, then Delete queued behind it, both waiting before the window's loop runs.
  QCoreApplication::postEvent(window.get(),
                              new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
  QCoreApplication::postEvent(window.get(),
                              new QKeyEvent(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier));
  window->RunModal();
  EXPECT_FALSE(form.Loaded());
  EXPECT_EQ(form.other_keys, 0);
  form.SetHost(nullptr);
}

TEST(QtFormWindowTest, KeysReachTheFormWhileItIsOpen) {
  QtTestApp();
  ClosingForm form;
  Host host;
  auto window = std::make_unique<QtFormWindow>(form, nullptr);
  host.window = window.get();
  form.SetHost(&host);
  form.RunLoad();
  form.SetVisible(true);
  QCoreApplication::postEvent(window.get(),
                              new QKeyEvent(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier));
  QCoreApplication::postEvent(window.get(),
                              new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
  window->RunModal();
  EXPECT_EQ(form.other_keys, 1);
  form.SetHost(nullptr);
}

}  // namespace
}  // namespace trelvin
