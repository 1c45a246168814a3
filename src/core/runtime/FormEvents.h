#pragma once

#include <cstdint>
#include <functional>

#include "core/controls/Form.h"

namespace trelvin {

// The events a window runtime raises on one form, with the rules every runtime must keep: a
// runtime turns its system's events into these calls and decides nothing itself. A handler that
// runs a nested loop (a message box, a modal form) keeps the form busy until it returns.
class FormEvents {
 public:
  explicit FormEvents(Form& form) : form_(form) {}
  FormEvents(const FormEvents&) = delete;
  FormEvents& operator=(const FormEvents&) = delete;

  // Whether a handler of this form is running (perhaps waiting in a nested loop).
  bool Busy() const { return depth_ > 0; }

  // A tick of `timer` fell due: runs its handler only while the form is loaded, the timer runs
  // (TimerRuns) and no handler of this form is running. A tick skipped so is not made up.
  void Tick(Timer& timer);

  // A key went down on the form's window: a borderless form takes every key (Form_KeyDown); a form
  // with a border leaves them to its controls. Returns whether the key is done with, which it also
  // is once the form has unloaded (it reaches nothing then).
  bool KeyDown(std::int16_t key_code, std::int16_t shift);

  // A mouse button (kLeftButton, ...) went down on the form at (x, y) in the form's own units;
  // raises Form_MouseDown while the form is loaded.
  void MouseDown(std::int16_t button, std::int16_t shift, float x, float y);

  // Runs a control's event (a click, a change) or the form's load or unload as a handler of the
  // form. Control events reach nothing once the form has unloaded; use Load and Unload for those.
  void Control(const std::function<void()>& event);
  void Load();
  void Unload();

  // The user or the system asks to close the window: closing is unloading the form, once.
  void CloseRequested();

 private:
  // Runs `handler` with the form marked busy.
  void Run(const std::function<void()>& handler);

  Form& form_;
  int depth_ = 0;
};

}  // namespace trelvin
