#include "core/controls/Form.h"

#include <utility>

namespace trelvin {

Form::Form(std::string name) : name_(std::move(name)) {}

void Form::Move(Rect geometry) {
  if (geometry == geometry_) return;
  geometry_ = geometry;
  ViewChanged();
}

void Form::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  ViewChanged();
}

void Form::SetWindowState(WindowState state) {
  if (state == state_) return;
  state_ = state;
  ViewChanged();
}

void Form::SetCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  ViewChanged();
}

void Form::Unload() {
  if (!loaded_) return;
  if (host_) {
    host_->CloseForm(*this);
  } else {
    RunUnload();
  }
}

void Form::RunLoad() {
  if (loaded_) return;
  loaded_ = true;
  Form_Load();
}

void Form::RunUnload() {
  if (!loaded_) return;
  std::int16_t cancel = 0;
  Form_Unload(cancel);
  loaded_ = false;
  SetVisible(false);
}

void Form::ViewChanged() {
  if (on_view_changed) on_view_changed();
}

}  // namespace trelvin
