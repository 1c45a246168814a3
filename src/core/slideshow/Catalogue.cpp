#include "core/slideshow/Catalogue.h"

#include <algorithm>

#include "core/base/Guard.h"
#include "core/base/PatternMatch.h"

namespace trelvin {

namespace {

// Whether `name` reached `pattern` only through another name while its own name is one of
// another extension's, which lists it in its own turn.
bool ListedElsewhere(const std::string& name, const std::string& pattern,
                     std::span<const char* const> extensions) {
  if (MatchesPattern(name, pattern)) return false;
  return std::any_of(extensions.begin(), extensions.end(), [&](const char* extension) {
    return MatchesPattern(name, std::string("*.") + extension);
  });
}

}  // namespace

void FillCatalogue(NameList& list, FileSystem& files, const std::string& directory,
                   std::span<const char* const> extensions, OtherNames other_names) {
  for (const char* extension : extensions) {
    Step([&] {
      const std::string pattern = std::string("*.") + extension;
      // A full list takes no more names, so the search needs to yield no more than fit.
      const auto room = static_cast<std::size_t>(NameList::kMaxEntries - list.ListCount());
      for (const std::string& name : files.FindFiles(directory, pattern, room)) {
        if (other_names == OtherNames::kLeftToTheirOwnPattern &&
            ListedElsewhere(name, pattern, extensions)) {
          continue;
        }
        list.AddItem(name);
      }
    });
  }
}

}  // namespace trelvin
