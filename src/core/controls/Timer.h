#pragma once

#include <functional>
#include <string>

namespace trelvin {

// A window timer. While enabled, the runtime raises on_timer every Interval() milliseconds, on the
// window thread and never inside another handler; ticks that fall due while a handler runs are
// merged into one.
class Timer {
 public:
  Timer(std::string name, int interval_ms, bool enabled);
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  const std::string& Name() const { return name_; }

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  int Interval() const { return interval_ms_; }
  void SetInterval(int interval_ms);

  std::function<void()> on_timer;
  // Set by the window runtime: called after Enabled or Interval changed.
  std::function<void()> on_view_changed;

 private:
  void ViewChanged();

  std::string name_;
  int interval_ms_;
  bool enabled_;
};

}  // namespace trelvin
