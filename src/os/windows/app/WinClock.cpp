#include "os/windows/app/WinClock.h"

#include "os/windows/WinApi.h"

namespace trelvin {

LocalDateTime WinClock::Now() {
  SYSTEMTIME local{};
  GetLocalTime(&local);
  return {local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond};
}

double WinClock::SecondsSinceMidnight() {
  SYSTEMTIME local{};
  GetLocalTime(&local);
  return local.wHour * 3600.0 + local.wMinute * 60.0 + local.wSecond + local.wMilliseconds / 1000.0;
}

}  // namespace trelvin
