#include "core/shell/SettingText.h"

#include <cstddef>

namespace trelvin {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::optional<std::int16_t> ParseSettingInt16(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  text = text.substr(begin, end - begin);

  bool negative = false;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  // Digits are accumulated with a ceiling far above the 16-bit range, so long inputs cannot
  // overflow and still come out as "outside the range".
  constexpr long kCeiling = 1'000'000;
  long whole = 0;
  std::size_t i = 0;
  std::size_t int_digits = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i, ++int_digits) {
    if (whole < kCeiling) whole = whole * 10 + (text[i] - '0');
  }
  std::size_t frac_digits = 0;
  int first_frac = -1;
  bool rest_nonzero = false;
  if (i < text.size() && text[i] == '.') {
    for (++i; i < text.size() && IsDigit(text[i]); ++i, ++frac_digits) {
      if (first_frac < 0) {
        first_frac = text[i] - '0';
      } else if (text[i] != '0') {
        rest_nonzero = true;
      }
    }
  }
  if (i != text.size() || int_digits + frac_digits == 0) return std::nullopt;

  if (first_frac > 5 || (first_frac == 5 && (rest_nonzero || whole % 2 == 1))) ++whole;
  const long value = negative ? -whole : whole;
  if (value < -32768 || value > 32767) return std::nullopt;
  return static_cast<std::int16_t>(value);
}

std::string FormatSettingInt(long value) { return std::to_string(value); }

}  // namespace trelvin
