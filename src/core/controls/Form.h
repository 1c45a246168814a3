#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/base/Types.h"
#include "core/controls/Control.h"
#include "core/controls/Timer.h"

namespace trelvin {

enum class WindowState { kNormal, kMinimized, kMaximized };

enum class BorderStyle {
  kNone,         // no border, no caption bar: the client area is the whole window
  kFixedSingle,  // caption bar, cannot be resized or maximised
};

class Form;

// What a form asks of the window runtime that shows it. Installed by the runtime; a form without a
// host (in tests) unloads by itself.
class FormHost {
 public:
  virtual ~FormHost() = default;
  // Closes the window: runs the form's unload handler and ends its modal loop, if any.
  virtual void CloseForm(Form& form) = 0;
};

// A top-level window: its controls and timers, its caption and geometry, and its event handlers.
// Derived forms override the handlers; the runtime raises them on the window thread.
class Form {
 public:
  explicit Form(std::string name);
  virtual ~Form() = default;
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  const std::string& Name() const { return name_; }
  const std::vector<Control*>& Controls() const { return controls_; }
  const std::vector<Timer*>& Timers() const { return timers_; }

  const std::string& Caption() const { return caption_; }
  BorderStyle Border() const { return border_; }
  Rgb BackColor() const { return back_color_; }
  // Client area in screen pixels.
  Rect Geometry() const { return geometry_; }
  void Move(Rect geometry);

  bool Visible() const { return visible_; }
  void SetVisible(bool visible);

  WindowState State() const { return state_; }
  // Set by the form, and by the runtime when the user or the window manager changed the state, so
  // the model always tells what the screen shows.
  void SetWindowState(WindowState state);

  // Whether the window has been loaded and not yet unloaded.
  bool Loaded() const { return loaded_; }
  // The handle given to services that call back into the window (media notifications).
  WindowHandle Handle() const { return reinterpret_cast<WindowHandle>(this); }

  // Closes the window (as the user closing it would): runs Form_Unload, hides it.
  void Unload();

  // Raised by the runtime (or tests). RunLoad marks the form loaded and runs Form_Load;
  // RunUnload runs Form_Unload and marks it unloaded. Neither runs twice in a row.
  void RunLoad();
  void RunUnload();

  virtual void Form_Load() {}
  virtual void Form_Unload(std::int16_t& Cancel) { (void)Cancel; }
  virtual void Form_KeyDown(std::int16_t& KeyCode, std::int16_t Shift) {
    (void)KeyCode;
    (void)Shift;
  }
  virtual void Form_MouseDown(std::int16_t Button, std::int16_t Shift, float x, float y) {
    (void)Button, (void)Shift, (void)x, (void)y;
  }

  void SetHost(FormHost* host) { host_ = host; }

  // Set by the window runtime: called after caption, geometry, visibility or state changed.
  std::function<void()> on_view_changed;

 protected:
  void SetCaption(std::string caption);
  void SetBorder(BorderStyle border) { border_ = border; }
  void SetBackColor(Rgb colour) { back_color_ = colour; }
  void AddControl(Control& control) { controls_.push_back(&control); }
  void AddTimer(Timer& timer) { timers_.push_back(&timer); }

 private:
  void ViewChanged();

  std::string name_;
  std::string caption_;
  BorderStyle border_ = BorderStyle::kFixedSingle;
  Rgb back_color_ = MakeRgb(240, 240, 240);
  Rect geometry_;
  bool visible_ = false;
  WindowState state_ = WindowState::kNormal;
  bool loaded_ = false;
  FormHost* host_ = nullptr;
  std::vector<Control*> controls_;
  std::vector<Timer*> timers_;
};

}  // namespace trelvin
