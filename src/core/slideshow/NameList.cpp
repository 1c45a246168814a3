#include "core/slideshow/NameList.h"

#include <algorithm>
#include <stdexcept>
#include <string_view>

#include "core/base/AsciiCase.h"

namespace trelvin {

bool NameList::AddItem(const std::string& name) {
  if (names_.size() >= static_cast<std::size_t>(kMaxEntries)) return false;
  if (order_ == Order::kInsertion) {
    names_.push_back(name);
  } else {
    // After equal names, so equal keys keep their arrival order.
    names_.insert(
        std::upper_bound(names_.begin(), names_.end(), name,
                         [](std::string_view a, std::string_view b) { return LessNoCase(a, b); }),
        name);
  }
  return true;
}

const std::string& NameList::List(std::int16_t index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= names_.size()) {
    throw std::out_of_range("list index");
  }
  return names_[static_cast<std::size_t>(index)];
}

}  // namespace trelvin
