#pragma once

#include "core/services/Locale.h"

namespace trelvin {

// The user's locale from the system's regional settings.
class WinLocale : public Locale {
 public:
  std::string DecimalSeparator() override;
};

}  // namespace trelvin
