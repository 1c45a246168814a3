#pragma once

#include <array>
#include <span>
#include <string>

#include "core/services/FileSystem.h"
#include "core/slideshow/NameList.h"

namespace trelvin {

// The extensions searched for, in the order of listing.
inline constexpr std::array<const char*, 15> kMusicExtensions{"mid",  "mp2",  "mp3", "mpg", "mpeg",
                                                              "mpa",  "mpe",  "m1v", "au",  "aif",
                                                              "aiff", "aifc", "qt",  "snd", "dat"};
inline constexpr std::array<const char*, 2> kPictureExtensions{"jpg", "gif"};

// Adds to `list` the names of `directory` (ending in the separator) that match "*." plus each
// extension, one extension after the other, each in the order the directory search yields them.
// Nothing is merged: a name that several patterns match is added once for each. Names beyond the
// list's capacity are left out; a directory that cannot be read adds nothing.
void FillCatalogue(NameList& list, FileSystem& files, const std::string& directory,
                   std::span<const char* const> extensions);

}  // namespace trelvin
