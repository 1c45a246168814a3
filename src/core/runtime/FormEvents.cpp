#include "core/runtime/FormEvents.h"

#include "core/runtime/FormRules.h"

namespace trelvin {

void FormEvents::Run(const std::function<void()>& handler) {
  ++depth_;
  // The handler may unload the form; this object lives as long as the form's window, which the
  // runtime destroys only after the window's modal loop has ended.
  struct Leave {
    int& depth;
    ~Leave() { --depth; }
  } leave{depth_};
  handler();
}

void FormEvents::Tick(Timer& timer) {
  if (!form_.Loaded() || !TimerRuns(timer) || Busy() || !timer.on_timer) return;
  Run(timer.on_timer);
}

bool FormEvents::KeyDown(std::int16_t key_code, std::int16_t shift) {
  if (!form_.Loaded()) return true;
  if (form_.Border() != BorderStyle::kNone) return false;
  Run([&] { form_.Form_KeyDown(key_code, shift); });
  return true;
}

void FormEvents::MouseDown(std::int16_t button, std::int16_t shift, float x, float y) {
  if (!form_.Loaded()) return;
  Run([&] { form_.Form_MouseDown(button, shift, x, y); });
}

void FormEvents::Control(const std::function<void()>& event) {
  if (!form_.Loaded() || !event) return;
  Run(event);
}

void FormEvents::Load() {
  Run([this] { form_.RunLoad(); });
}

void FormEvents::Unload() {
  Run([this] { form_.RunUnload(); });
}

void FormEvents::CloseRequested() {
  if (form_.Loaded()) form_.Unload();
}

}  // namespace trelvin
