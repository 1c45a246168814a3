#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace trelvin {

// Converts a stored setting text to a 16-bit signed integer: decimal digits with an optional sign
// and fraction, blanks around it allowed; a fraction is rounded to the nearest integer, halves to
// the even neighbour. nullopt for anything else or a value outside -32768 to 32767.
std::optional<std::int16_t> ParseSettingInt16(std::string_view text);

// The plain decimal text of a value, as the program writes numbers into the store.
std::string FormatSettingInt(long value);

}  // namespace trelvin
