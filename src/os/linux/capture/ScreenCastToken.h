#pragma once

#include <optional>
#include <string>

namespace trelvin {

// The screen-cast portal's restore token, kept in one small file of its own (the desktop's
// permission to capture a monitor again without asking). Only its owner may read it.
class ScreenCastToken {
 public:
  // `path` is the token file, e.g. ~/.config/Trelvin/screencast.token.
  explicit ScreenCastToken(std::string path);

  // ${XDG_CONFIG_HOME:-~/.config}/Trelvin/screencast.token, beside the settings file.
  static std::string DefaultPath();

  // The saved token; nothing when the file is missing, unreadable or not a token (a damaged
  // file is not an error: the desktop then asks the user again).
  std::optional<std::string> Load() const;
  // Replaces the saved token atomically (the shared temporary-file writer: mode 0600 from the
  // start, renamed over the old one), creating the folder when missing; false when it could not
  // be written, the old token then being left as it was.
  bool Save(const std::string& token) const;

  // Whether `text` can be a token: 1 to 512 printable ASCII characters, no blanks.
  static bool Valid(const std::string& text);

  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace trelvin
