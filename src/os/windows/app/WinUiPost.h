#pragma once

#include <functional>

namespace trelvin {

// Runs jobs on the interface thread, posted from any thread: a message-only window made on the
// interface thread takes them through its message loop. Jobs still queued when it goes are
// dropped.
class WinUiPost {
 public:
  WinUiPost();
  ~WinUiPost();
  WinUiPost(const WinUiPost&) = delete;
  WinUiPost& operator=(const WinUiPost&) = delete;

  // Queues `job`; false when it could not be queued (then it never runs).
  bool Post(std::function<void()> job);

 private:
  void* window_ = nullptr;  // HWND
};

}  // namespace trelvin
