#pragma once

#include "core/services/Cursor.h"

namespace trelvin {

// The system's own show counter of the mouse pointer.
class WinCursor : public Cursor {
 public:
  int ShowCursor(bool show) override;
};

}  // namespace trelvin
