#pragma once

#include <functional>
#include <string>

#include "core/base/Types.h"

namespace trelvin {

// The part every control of a form shares: a name, a place, a tab position, enabled and visible.
// Setters return early when nothing changes, otherwise they notify the view so that the window
// runtime can mirror the model onto its widget.
class Control {
 public:
  Control(std::string name, Rect geometry, int tab_index);
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const std::string& Name() const { return name_; }
  int TabIndex() const { return tab_index_; }

  Rect Geometry() const { return geometry_; }
  void SetGeometry(Rect geometry);

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  bool Visible() const { return visible_; }
  void SetVisible(bool visible);

  // Set by the window runtime: called after any property of the model changed.
  std::function<void()> on_view_changed;

 protected:
  void ViewChanged();

 private:
  std::string name_;
  Rect geometry_;
  int tab_index_;
  bool enabled_ = true;
  bool visible_ = true;
};

}  // namespace trelvin
