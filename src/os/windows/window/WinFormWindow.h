#pragma once

#include "os/windows/WinApi.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/controls/Form.h"
#include "core/runtime/FormEvents.h"
#include "os/windows/window/WinControlView.h"

namespace trelvin {

// The top-level window of one form. It creates a view for each control, mirrors the form's model
// (caption, geometry, visibility, state) onto the window and the window's state back onto the
// model, and turns timer, close, key and mouse messages into calls on the form's FormEvents,
// which keeps the rules. A form with a fixed single border is laid out in pixels at 96 dpi, scaled
// by the window's DPI; a borderless form works in device pixels and covers the screen topmost when
// its geometry is the primary screen's.
class WinFormWindow {
 public:
  // A hook sees every message of the window first; a result ends its handling there.
  using MessageHook = std::function<std::optional<LRESULT>(UINT, WPARAM, LPARAM)>;

  WinFormWindow(Form& form, HWND owner);
  ~WinFormWindow();
  WinFormWindow(const WinFormWindow&) = delete;
  WinFormWindow& operator=(const WinFormWindow&) = delete;

  HWND hwnd() const { return hwnd_; }
  Form& form() { return form_; }
  FormEvents& events() { return events_; }
  // The control whose view has the keyboard focus, or nullptr.
  Control* FocusedControl() const;
  // The window of `hwnd` (or of the top-level window it belongs to), if the runtime made it.
  static WinFormWindow* FromHandle(HWND hwnd);

  // Creates the views of the form's controls in tab order; false when the form has a control of
  // a kind that has no view (see docs/windows-choices.md).
  bool CreateViews();
  // Runs a nested message loop until the form unloads.
  void RunModal();
  // What a message loop does before dispatching `msg`: Tab in the form's tab order, and the
  // dialog keys in windows with a border. True when the message has been handled.
  static bool PreTranslate(MSG& msg);
  // Called once the form has unloaded: stops the timers, hides the window, ends the modal loop.
  void FormUnloaded();
  bool Unloaded() const { return unloaded_; }
  void AddMessageHook(MessageHook hook) { hooks_.push_back(std::move(hook)); }

  // For the views: the layout rules and the shared resources of the window.
  RECT ToDevice(const Rect& layout) const;
  UINT Dpi() const { return dpi_; }
  HFONT Font(bool underline) const { return underline ? underlined_font_ : font_; }
  HBRUSH BackBrush() const { return back_brush_; }
  void SetToolTip(HWND control, const std::string& text);
  int ControlId(const WinControlView& view) const;

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);
  WinControlView* ViewOf(HWND child) const;
  WinControlView* ViewOf(const Control* control) const;
  bool Scaled() const { return form_.Border() == BorderStyle::kFixedSingle; }
  void SyncForm();
  void ApplyDpi(UINT dpi);
  void PlaceWindow(const RECT* suggested);
  void SyncTimer(std::size_t index);
  void OnMouse(std::int16_t button, WPARAM wparam, LPARAM lparam);
  void RestoreFocus();
  // Moves the focus `step` places along the Tab order of the focusable, enabled, visible views.
  void MoveFocus(int step);

  Form& form_;
  FormEvents events_{form_};
  HWND hwnd_ = nullptr;
  HWND tooltips_ = nullptr;
  HWND focus_ = nullptr;
  UINT dpi_ = 96;
  HFONT font_ = nullptr;
  HFONT underlined_font_ = nullptr;
  HBRUSH back_brush_ = nullptr;
  bool unloaded_ = false;
  bool in_modal_loop_ = false;
  bool syncing_ = false;
  std::vector<std::unique_ptr<WinControlView>> views_;
  std::vector<MessageHook> hooks_;
};

}  // namespace trelvin
