#pragma once

namespace trelvin {

class FormMainSlide;

// The user's session ends (log-off, shutdown, a signal to end): every open form unloads as closing
// its window would, in owner order whatever the runtime's own window order is: the slide show
// first, then the settings window that owns it, whose unload writes the settings. Forms that are
// not loaded are left alone. Both systems' session-end hooks call this on the window thread.
void UnloadAtSessionEnd(FormMainSlide& settings);

}  // namespace trelvin
