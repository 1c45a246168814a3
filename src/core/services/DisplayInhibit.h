#pragma once

namespace trelvin {

// Keeps the display awake (no screen saver, no blanking) for a player who touches no key.
class DisplayInhibit {
 public:
  virtual ~DisplayInhibit() = default;
  // The display stays awake until Release; harmless while already held. False when the system
  // refused or cannot be asked.
  virtual bool Hold() = 0;
  // The display may sleep again; harmless when nothing is held.
  virtual void Release() = 0;
};

}  // namespace trelvin
