#pragma once

namespace trelvin {

// The previous-instance test.
class InstanceLock {
 public:
  virtual ~InstanceLock() = default;
  // True when another instance of this executable is running; otherwise this process becomes the
  // running instance for the rest of its life.
  virtual bool AnotherInstanceRunning() = 0;
};

}  // namespace trelvin
