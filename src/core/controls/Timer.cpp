#include "core/controls/Timer.h"

#include <utility>

namespace trelvin {

Timer::Timer(std::string name, int interval_ms, bool enabled)
    : name_(std::move(name)), interval_ms_(interval_ms), enabled_(enabled) {}

void Timer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  ViewChanged();
}

void Timer::SetInterval(int interval_ms) {
  if (interval_ms == interval_ms_) return;
  interval_ms_ = interval_ms;
  ViewChanged();
}

void Timer::ViewChanged() {
  if (on_view_changed) on_view_changed();
}

}  // namespace trelvin
