#pragma once

#include "platform/services/Cursor.h"

namespace trelvin {

// Until the pointer is wired on this platform: only the counter moves.
class NoCursor : public Cursor {
 public:
  int ShowCursor(bool show) override { return counter_ += show ? 1 : -1; }

 private:
  int counter_ = 0;
};

}  // namespace trelvin
