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
// "jpg" and "gif" first, as always; the extensions added later follow them.
inline constexpr std::array<const char*, 6> kPictureExtensions{"jpg", "gif", "jpeg",
                                                               "png", "bmp", "webp"};

// What a search does with a name that its pattern matches only through another name of the file
// (the short name a Windows volume may give it: "photo.jpeg" is also "PHOTO~1.JPG").
enum class OtherNames {
  kListed,                 // listed under that pattern too, as the search yields it
  kLeftToTheirOwnPattern,  // left out there when its own name matches another of the extensions
};

// Adds to `list` the names of `directory` (ending in the separator) that match "*." plus each
// extension, one extension after the other, each in the order the directory search yields them.
// Nothing is merged: a name that several patterns match is added once for each (but see
// `other_names`). Names beyond the list's capacity are left out; a directory that cannot be read
// adds nothing.
void FillCatalogue(NameList& list, FileSystem& files, const std::string& directory,
                   std::span<const char* const> extensions,
                   OtherNames other_names = OtherNames::kListed);

}  // namespace trelvin
