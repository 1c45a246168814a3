#pragma once

#include "core/services/Clock.h"

namespace trelvin {

// The C++ clock in the local time zone.
class SystemClock : public Clock {
 public:
  LocalDateTime Now() override;
  double SecondsSinceMidnight() override;
};

}  // namespace trelvin
