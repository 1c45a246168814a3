#pragma once

#include "core/services/Cursor.h"

namespace trelvin {

// The pointer over the program's windows with Windows' show counter: below 0 it is a blank
// override cursor.
class QtCursor : public Cursor {
 public:
  ~QtCursor() override;
  int ShowCursor(bool show) override;

 private:
  int counter_ = 0;
  bool hidden_ = false;
};

}  // namespace trelvin
