#include "core/runtime/FormRules.h"

#include <algorithm>

#include "core/base/VirtualKeys.h"
#include "core/controls/Button.h"
#include "core/controls/CheckBox.h"
#include "core/controls/ScrollBar.h"

namespace trelvin {

std::int16_t ShiftState(bool shift, bool ctrl, bool alt) {
  std::int16_t state = 0;
  if (shift) state |= kShiftMask;
  if (ctrl) state |= kCtrlMask;
  if (alt) state |= kAltMask;
  return state;
}

bool TimerRuns(const Timer& timer) { return timer.Enabled() && timer.Interval() > 0; }

std::vector<Control*> TabOrder(const Form& form) {
  std::vector<Control*> order = form.Controls();
  std::stable_sort(order.begin(), order.end(), [](const Control* a, const Control* b) {
    return a->TabIndex() < b->TabIndex();
  });
  return order;
}

bool TakesFocus(const Control& control) {
  return dynamic_cast<const Button*>(&control) || dynamic_cast<const CheckBox*>(&control) ||
         dynamic_cast<const ScrollBar*>(&control);
}

Control* NextFocus(const Form& form, const Control* current, int step) {
  std::vector<Control*> stops;
  for (Control* control : TabOrder(form)) {
    if (TakesFocus(*control) && control->Enabled() && control->Visible()) stops.push_back(control);
  }
  if (stops.empty()) return nullptr;
  const auto at = std::find(stops.begin(), stops.end(), current);
  if (at == stops.end()) return step < 0 ? stops.back() : stops.front();
  const auto n = static_cast<std::ptrdiff_t>(stops.size());
  const std::ptrdiff_t next = ((at - stops.begin()) + step % n + n) % n;
  return stops[static_cast<std::size_t>(next)];
}

bool CoversScreen(const Form& form, Size primary_size) {
  const Rect g = form.Geometry();
  return form.Border() == BorderStyle::kNone && g.left == 0 && g.top == 0 &&
         g.width == primary_size.width && g.height == primary_size.height;
}

}  // namespace trelvin
