#pragma once

#include <string>

namespace trelvin {

// The user's locale, as far as the program formats numbers.
class Locale {
 public:
  virtual ~Locale() = default;
  // The decimal separator of the user's locale ("." or "," or another text).
  virtual std::string DecimalSeparator() = 0;
};

}  // namespace trelvin
