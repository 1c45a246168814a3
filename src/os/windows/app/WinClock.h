#pragma once

#include "core/services/Clock.h"

namespace trelvin {

// The local date and time from the system.
class WinClock : public Clock {
 public:
  LocalDateTime Now() override;
  double SecondsSinceMidnight() override;
};

}  // namespace trelvin
