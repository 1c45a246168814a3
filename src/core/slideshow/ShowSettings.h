#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace trelvin {

// What the slide show takes from the window that opens it, read once at every load: the picture
// directory, the four option boxes' states (0 cleared, 1 checked, 2 grayed) and whether the
// desktop is locked behind the show.
struct ShowSettings {
  std::string picture_dir;
  std::int16_t mp3 = 0;
  std::int16_t music = 0;
  std::int16_t random = 0;
  std::int16_t stretch = 0;
  // The system runs the show as the user's password-protected screen saver: the desktop is
  // locked behind it.
  bool secure_saver = false;
};

// Where the slide show gets its settings and hands the outside player's playlist over.
struct ShowOwner {
  std::function<ShowSettings()> settings;
  std::function<void()> start_winamp;
};

}  // namespace trelvin
