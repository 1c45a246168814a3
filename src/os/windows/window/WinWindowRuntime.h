#pragma once

#include "os/windows/WinApi.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "core/controls/Form.h"
#include "core/services/WindowRuntime.h"

namespace trelvin {

class WinFormWindow;

// The window runtime on plain Win32: each form gets a top-level window (WinFormWindow) that
// mirrors the form's model and its controls and reports the user's actions back as the form's
// events. Modal windows disable their owner and run a nested message loop.
class WinWindowRuntime : public WindowRuntime, public FormHost {
 public:
  WinWindowRuntime();
  ~WinWindowRuntime() override;
  WinWindowRuntime(const WinWindowRuntime&) = delete;
  WinWindowRuntime& operator=(const WinWindowRuntime&) = delete;

  // Runs the start-up form: creates its window, runs its load handler, shows it (centred on the
  // primary screen's work area) unless the load ended the process or closed it, and returns the
  // exit code once it has closed.
  int Run(Form& startup);

  Size ScreenSize() const override;
  // A form with a control kind that has no view on Windows is not loaded: the call returns at
  // once, as if the window had been closed right away.
  void ShowModal(Form& form, Form& owner) override;
  void EndAtOnce() override;

  void CloseForm(Form& form) override;

  // Opens the window of `form` over `owner`'s, which takes no input meanwhile: runs its load and
  // shows it, without waiting for it to close (ShowModal waits). The window when the form
  // loaded, else nullptr.
  WinFormWindow* Open(Form& form, Form* owner);
  // Destroys the window of `form`, if it has one, and enables its owner again; never while one
  // of its handlers runs.
  void DestroyFormWindow(Form& form);

  // The window of `form`, or nullptr when it has none (not loaded).
  WinFormWindow* WindowFor(const Form& form) const;
  HWND HandleFor(const Form& form) const;
  // The window of the form whose Handle() is `handle`, or nullptr.
  HWND HandleFor(WindowHandle handle) const;

  // Set by the program: unloads the open forms when the user's session ends (WM_ENDSESSION),
  // before the system may end the process.
  std::function<void()> on_session_end;

 private:
  WinFormWindow* CreateFormWindow(Form& form, HWND owner);
  // WinWindowRuntimeSession.cpp: the end of the user's session runs on_session_end.
  std::optional<LRESULT> OnSessionMessage(UINT message, WPARAM wparam);

  std::map<const Form*, std::unique_ptr<WinFormWindow>> windows_;
  // The owners that Open disabled, by the form whose window did.
  std::map<const Form*, HWND> disabled_owners_;
};

}  // namespace trelvin
