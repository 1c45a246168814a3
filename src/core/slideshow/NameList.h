#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace trelvin {

// A list of file names with 16-bit positions: at most 32767 entries. Either in insertion order or
// kept sorted without regard to case (each name inserted at its sorted place).
class NameList {
 public:
  enum class Order { kInsertion, kSortedNoCase };
  static constexpr std::int16_t kMaxEntries = 32767;

  explicit NameList(Order order) : order_(order) {}

  // Adds the name; false (nothing added) when the list is full.
  bool AddItem(const std::string& name);
  void Clear() { names_.clear(); }
  std::int16_t ListCount() const { return static_cast<std::int16_t>(names_.size()); }
  // The entry at `index`; throws std::out_of_range outside the list.
  const std::string& List(std::int16_t index) const;

 private:
  Order order_;
  std::vector<std::string> names_;
};

}  // namespace trelvin
