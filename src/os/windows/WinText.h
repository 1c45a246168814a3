#pragma once

#include <string>
#include <string_view>

namespace trelvin {

// UTF-8 in the core, UTF-16 at the API boundary. Invalid sequences become U+FFFD rather than
// being dropped, so a damaged name still shows as something.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

}  // namespace trelvin
