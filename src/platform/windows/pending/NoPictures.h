#pragma once

#include "platform/services/Pictures.h"

namespace trelvin {

// Until the picture decoders of this platform are wired: no picture loads or saves.
class NoPictures : public Pictures {
 public:
  std::shared_ptr<const Picture> LoadPicture(const std::string&, Size) override { return nullptr; }
  bool SavePicture(const Picture&, const std::string&) override { return false; }
};

}  // namespace trelvin
