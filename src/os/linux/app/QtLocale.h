#pragma once

#include "core/services/Locale.h"

namespace trelvin {

// The system locale as Qt sees it (LC_ALL, LC_NUMERIC, LANG).
class QtLocale : public Locale {
 public:
  std::string DecimalSeparator() override;
};

}  // namespace trelvin
