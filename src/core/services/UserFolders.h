#pragma once

#include <string>

#include "core/base/PathRules.h"
#include "core/services/FileSystem.h"
#include "core/services/KnownPaths.h"
#include "core/services/ProgramDirectory.h"

namespace trelvin {

// The program's own folder inside one of the user's folders ("Trelvin", as the settings'
// application is called), with a trailing separator; empty when `user_folder` is.
inline std::string TrelvinFolderIn(const std::string& user_folder) {
  if (user_folder.empty()) return "";
  return WithTrailingSeparator(JoinPath(user_folder, "Trelvin"));
}

// Where the program puts what it makes when the user chose no folder (captures, copies): the
// program's directory when this user may write there (a per-user installation, a build folder),
// else the program's folder in the user's Pictures. An installation owned by the system thus
// never swallows captures that cannot be written.
inline std::string ProductsDirectory(FileSystem& files, KnownPaths& paths) {
  const std::string program = ProgramDirectory(files);
  if (files.CanWriteDirectory(program)) return program;
  const std::string pictures = TrelvinFolderIn(paths.PicturesDirectory());
  return pictures.empty() ? program : pictures;
}

}  // namespace trelvin
