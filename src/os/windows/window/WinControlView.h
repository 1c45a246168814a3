#pragma once

#include "os/windows/WinApi.h"

#include <string>

#include "core/controls/Control.h"

namespace trelvin {

class WinFormWindow;

// The native view of one control: a child window of the form's window that mirrors the control's
// model and reports the user's actions back to it. Views of the standard controls wrap a system
// control class; WinCustomView draws itself.
class WinControlView {
 public:
  WinControlView(Control& model, WinFormWindow& window);
  virtual ~WinControlView();
  WinControlView(const WinControlView&) = delete;
  WinControlView& operator=(const WinControlView&) = delete;

  HWND hwnd() const { return hwnd_; }
  Control& model() { return model_; }
  // Whether the control is drawn on the form rather than being a window of its own (labels,
  // pictures): such views lie beneath all the others, wherever they overlap.
  virtual bool Lightweight() const { return false; }

  // Mirrors the model onto the window: geometry (scaled by the form's DPI), enabled, visible and
  // what the kind adds. Called after the model changed and after the DPI changed.
  virtual void Sync();

  // Notifications that the system sends to the form's window about this control.
  virtual void OnCommand(UINT code) { (void)code; }
  virtual void OnScroll(UINT code, WPARAM wparam) { (void)code, (void)wparam; }
  // The mouse pointer over the view, nullptr for the class's own.
  virtual HCURSOR Cursor() const { return nullptr; }
  // WM_CTLCOLORSTATIC / WM_CTLCOLORBTN: the brush for the background, nullptr for the default.
  virtual HBRUSH OnColor(HDC dc) {
    (void)dc;
    return nullptr;
  }

 protected:
  // Creates the child window (the control id is the view's position in the form).
  void Create(const wchar_t* window_class, const std::wstring& text, DWORD style, DWORD ex_style);
  // Connects the model's change notification to Sync and runs it once.
  void Bind();

  Control& model_;
  WinFormWindow& window_;
  HWND hwnd_ = nullptr;
};

// A control that draws itself in a window class of the runtime's own: derived kinds override
// Paint (and the mouse hooks they need). The slide show's picture control is one.
class WinCustomView : public WinControlView {
 public:
  WinCustomView(Control& model, WinFormWindow& window);

 protected:
  // Creates the window; `opaque` views paint every pixel themselves (no background erase).
  void CreateCustom(bool opaque);
  // Paints the part `dirty` of the view (client coordinates, device pixels).
  virtual void Paint(HDC dc, const RECT& dirty) = 0;
  virtual void OnMouseDown(int button, int x, int y) { (void)button, (void)x, (void)y; }
  virtual void OnMouseUp(int button, int x, int y) { (void)button, (void)x, (void)y; }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);

  bool opaque_ = false;
};

}  // namespace trelvin
