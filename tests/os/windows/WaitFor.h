#pragma once

#include <windows.h>

namespace trelvin::test {

// Waits up to `seconds`, pumping this thread's messages, until `done` holds; its final answer.
template <typename Condition>
bool WaitFor(Condition done, double seconds) {
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
  while (!done()) {
    if (GetTickCount64() >= end) return done();
    // Wakes for this thread's messages or after a short while, whichever comes first.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  return true;
}

}  // namespace trelvin::test
