#pragma once

namespace trelvin {

struct LocalDateTime {
  int year = 0;
  int month = 0;   // 1 to 12
  int day = 0;     // 1 to 31
  int hour = 0;    // 0 to 23
  int minute = 0;  // 0 to 59
  int second = 0;  // 0 to 59 (60 on a leap second)
};

// The local date and time.
class Clock {
 public:
  virtual ~Clock() = default;
  // The current local date and time.
  virtual LocalDateTime Now() = 0;
  // Seconds since local midnight, with fractions.
  virtual double SecondsSinceMidnight() = 0;
};

}  // namespace trelvin
