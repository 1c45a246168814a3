#include "core/slideshow/Catalogue.h"

#include "core/base/Guard.h"

namespace trelvin {

void FillCatalogue(NameList& list, FileSystem& files, const std::string& directory,
                   std::span<const char* const> extensions) {
  for (const char* extension : extensions) {
    Step([&] {
      // A full list takes no more names, so the search needs to yield no more than fit.
      const auto room = static_cast<std::size_t>(NameList::kMaxEntries - list.ListCount());
      for (const std::string& name :
           files.FindFiles(directory, std::string("*.") + extension, room)) {
        list.AddItem(name);
      }
    });
  }
}

}  // namespace trelvin
