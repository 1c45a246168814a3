#pragma once

#include <string>

#include "core/base/PathRules.h"
#include "core/services/FileSystem.h"

namespace trelvin {

// The executable's directory with a trailing separator: where the program keeps what ships with
// it (songs, the author's pages, the emulator) and the captures by default.
inline std::string ProgramDirectory(FileSystem& files) {
  return WithTrailingSeparator(files.ExecutableDirectory());
}

}  // namespace trelvin
