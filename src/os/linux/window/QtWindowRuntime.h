#pragma once

#include <map>
#include <memory>

#include <QWidget>

#include "core/controls/Form.h"
#include "core/services/WindowRuntime.h"

namespace trelvin {

class QtFormWindow;
class ScreenSaverHost;

// The window runtime on Qt widgets: each form gets a top-level widget that mirrors the form's
// model and its controls, and reports the user's actions back as the form's events.
class QtWindowRuntime : public WindowRuntime, public FormHost {
 public:
  QtWindowRuntime();
  ~QtWindowRuntime() override;

  // Runs the start-up form: creates it, runs its load handler, shows it unless the load ended
  // the process or closed it, and returns the exit code once the last window has closed.
  int Run(Form& startup);

  Size ScreenSize() const override;
  void ShowModal(Form& form, Form& owner) override;
  void EndAtOnce() override;

  void CloseForm(Form& form) override;

  // Opens the window of `form` over `owner`'s (application modal with `modal`): runs its load and
  // shows it, without waiting for it to close (ShowModal waits). The window when the form loaded,
  // else nullptr.
  QtFormWindow* Open(Form& form, Form* owner, bool modal = false);
  // Destroys the window of `form`, if it has one; never while one of its handlers runs.
  void DestroyWindow(Form& form);

  // From now on modal forms open inside the daemon's window of `host` (which outlives the
  // runtime's use of it), and the screen is that window.
  void EmbedShowsIn(ScreenSaverHost* host) { embed_in_ = host; }

  // The widget showing `form`, or nullptr when it is not loaded.
  QWidget* WidgetFor(const Form& form) const;

 private:
  QtFormWindow* CreateWindow(Form& form, QWidget* owner);

  std::map<const Form*, std::unique_ptr<QtFormWindow>> windows_;
  ScreenSaverHost* embed_in_ = nullptr;
};

}  // namespace trelvin
