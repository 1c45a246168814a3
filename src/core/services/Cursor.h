#pragma once

namespace trelvin {

// The mouse pointer over the program's windows, with a show counter: it is hidden while the
// counter is below 0.
class Cursor {
 public:
  virtual ~Cursor() = default;
  // Adds 1 to the counter (show) or subtracts 1 (hide); returns the new counter.
  virtual int ShowCursor(bool show) = 0;
};

}  // namespace trelvin
