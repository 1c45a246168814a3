#include "slideshow/NameList.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

namespace trelvin {

namespace {

bool LessNoCase(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) <
           std::tolower(static_cast<unsigned char>(y));
  });
}

}  // namespace

bool NameList::AddItem(const std::string& name) {
  if (names_.size() >= static_cast<std::size_t>(kMaxEntries)) return false;
  if (order_ == Order::kInsertion) {
    names_.push_back(name);
  } else {
    // After equal names, so equal keys keep their arrival order.
    names_.insert(std::upper_bound(names_.begin(), names_.end(), name, LessNoCase), name);
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
