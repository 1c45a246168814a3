#include "core/controls/Control.h"

#include <utility>

namespace trelvin {

Control::Control(std::string name, Rect geometry, int tab_index)
    : name_(std::move(name)), geometry_(geometry), tab_index_(tab_index) {}

void Control::SetGeometry(Rect geometry) {
  if (geometry == geometry_) return;
  geometry_ = geometry;
  ViewChanged();
}

void Control::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  ViewChanged();
}

void Control::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  ViewChanged();
}

void Control::ViewChanged() {
  if (on_view_changed) on_view_changed();
}

}  // namespace trelvin
