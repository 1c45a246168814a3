#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace trelvin {

// Finds the window to activate for a title among windows offered one by one: the first whose
// title is exactly the one sought, else the first whose title starts with it. An empty title
// matches nothing.
template <class Window>
class TitleMatch {
 public:
  explicit TitleMatch(std::string title) : title_(std::move(title)) {}

  // Considers one window; returns true once the search is over (an exact title was found).
  bool Offer(std::string_view window_title, Window window) {
    if (title_.empty() || exact_) return exact_.has_value();
    if (window_title == title_) {
      exact_ = window;
      return true;
    }
    if (!prefix_ && window_title.substr(0, title_.size()) == title_) prefix_ = window;
    return false;
  }

  // The window found, if any.
  std::optional<Window> Best() const { return exact_ ? exact_ : prefix_; }

 private:
  std::string title_;
  std::optional<Window> exact_;
  std::optional<Window> prefix_;
};

}  // namespace trelvin
