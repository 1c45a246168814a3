#pragma once

#include "core/services/DisplayInhibit.h"

namespace trelvin {

// SetThreadExecutionState(ES_CONTINUOUS | ES_DISPLAY_REQUIRED) on the window thread, cleared with
// ES_CONTINUOUS alone on the same thread (the state belongs to the thread that set it). Ending the
// program ends the hold with it.
class WinDisplayInhibit : public DisplayInhibit {
 public:
  ~WinDisplayInhibit() override { Release(); }
  bool Hold() override;
  void Release() override;

 private:
  bool held_ = false;
};

}  // namespace trelvin
