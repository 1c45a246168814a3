#include "os/windows/app/WinLocale.h"

#include "os/windows/WinApi.h"

#include "os/windows/WinText.h"

namespace trelvin {

std::string WinLocale::DecimalSeparator() {
  wchar_t separator[8] = {};
  if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8) <= 1) return ".";
  return Narrow(separator);
}

}  // namespace trelvin
