#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/base/Types.h"
#include "core/controls/Form.h"
#include "core/runtime/FormEvents.h"

namespace trelvin {

// The monitors that get a cover while a window fills `shown` (all in the system's desktop
// coordinates): every monitor that has no pixel in common with it, whichever monitor is the
// primary now. A monitor the window is on, or a mirror of it, is never covered; nor is anything
// while `shown` is empty, so that a window of unknown place is never hidden. In the given order.
std::vector<Rect> MonitorsToCover(const std::vector<Rect>& monitors, Rect shown);

// What a system does for the covers: borderless windows above every other, each filled with one
// colour, that never take the keyboard from the shown window.
class CoverWindows {
 public:
  virtual ~CoverWindows() = default;
  // Shows cover number `index` over `area` (desktop coordinates) in `colour`: made when it is not
  // up yet, else moved there.
  virtual void PlaceCover(std::size_t index, Rect area, Rgb colour) = 0;
  // Takes down every cover from number `count` on.
  virtual void RemoveCovers(std::size_t count) = 0;
};

// While a form is shown full screen (the slide show), no other monitor shows the desktop: each one
// is covered in the form's background colour, and a key, a click or a close on a cover acts on the
// form as on its own window. The system reports the monitors and the covers' input here and places
// the windows it is told to. Taking the covers down when the show ends is the system's own.
class MonitorCovers {
 public:
  MonitorCovers(Form& shown, FormEvents& events, CoverWindows& windows)
      : shown_(shown), events_(events), windows_(windows) {}
  MonitorCovers(const MonitorCovers&) = delete;
  MonitorCovers& operator=(const MonitorCovers&) = delete;

  // At the start and whenever monitors came, went, moved or changed roles: `monitors` are all of
  // them now, `shown` the area of the shown window's monitor (or of the window itself).
  void Follow(const std::vector<Rect>& monitors, Rect shown);

  // A key went down on a cover; returns whether it is done with, as the form's own window's.
  bool KeyDown(std::int16_t key_code, std::int16_t shift) {
    return events_.KeyDown(key_code, shift);
  }
  // A mouse button went down on a cover, at (x, y) in the shown form's own units (the system maps
  // the point as its window of the form would).
  void MouseDown(std::int16_t button, std::int16_t shift, float x, float y) {
    events_.MouseDown(button, shift, x, y);
  }
  // A cover was asked to close: the form is.
  void CloseRequested() { events_.CloseRequested(); }

 private:
  Form& shown_;
  FormEvents& events_;
  CoverWindows& windows_;
  std::size_t count_ = 0;
};

}  // namespace trelvin
