#pragma once

#include <cstdint>

namespace trelvin {

// The key vocabulary of the forms: Windows virtual-key codes. Every platform's key map translates
// its native key events into these; a key without a code here maps to kVkNone.
using VirtualKey = std::int16_t;

inline constexpr VirtualKey kVkNone = 0;
inline constexpr VirtualKey kVkBack = 8;
inline constexpr VirtualKey kVkTab = 9;
inline constexpr VirtualKey kVkClear = 12;
inline constexpr VirtualKey kVkReturn = 13;
inline constexpr VirtualKey kVkShift = 16;
inline constexpr VirtualKey kVkControl = 17;
inline constexpr VirtualKey kVkMenu = 18;  // Alt
inline constexpr VirtualKey kVkPause = 19;
inline constexpr VirtualKey kVkCapital = 20;
inline constexpr VirtualKey kVkEscape = 27;
inline constexpr VirtualKey kVkSpace = 32;
inline constexpr VirtualKey kVkPrior = 33;  // Page Up
inline constexpr VirtualKey kVkNext = 34;   // Page Down
inline constexpr VirtualKey kVkEnd = 35;
inline constexpr VirtualKey kVkHome = 36;
inline constexpr VirtualKey kVkLeft = 37;
inline constexpr VirtualKey kVkUp = 38;
inline constexpr VirtualKey kVkRight = 39;
inline constexpr VirtualKey kVkDown = 40;
inline constexpr VirtualKey kVkSnapshot = 44;
inline constexpr VirtualKey kVkInsert = 45;
inline constexpr VirtualKey kVkDelete = 46;
inline constexpr VirtualKey kVk0 = 48;  // '0'..'9' are 48..57
inline constexpr VirtualKey kVkA = 65;  // 'A'..'Z' are 65..90
inline constexpr VirtualKey kVkC = 67;
inline constexpr VirtualKey kVkM = 77;
inline constexpr VirtualKey kVkP = 80;
inline constexpr VirtualKey kVkS = 83;
inline constexpr VirtualKey kVkW = 87;
inline constexpr VirtualKey kVkZ = 90;
inline constexpr VirtualKey kVkLWin = 91;
inline constexpr VirtualKey kVkRWin = 92;
inline constexpr VirtualKey kVkApps = 93;
inline constexpr VirtualKey kVkNumpad0 = 96;  // keypad digits are 96..105
inline constexpr VirtualKey kVkMultiply = 106;
inline constexpr VirtualKey kVkAdd = 107;
inline constexpr VirtualKey kVkSeparator = 108;
inline constexpr VirtualKey kVkSubtract = 109;
inline constexpr VirtualKey kVkDecimal = 110;
inline constexpr VirtualKey kVkDivide = 111;
inline constexpr VirtualKey kVkF1 = 112;  // F1..F24 are 112..135
inline constexpr VirtualKey kVkF4 = 115;
inline constexpr VirtualKey kVkF5 = 116;
inline constexpr VirtualKey kVkF10 = 121;
inline constexpr VirtualKey kVkNumLock = 144;
inline constexpr VirtualKey kVkScroll = 145;
// The main keyboard's punctuation keys of the US layout.
inline constexpr VirtualKey kVkOemPlus = 187;
inline constexpr VirtualKey kVkOemComma = 188;
inline constexpr VirtualKey kVkOemMinus = 189;
inline constexpr VirtualKey kVkOemPeriod = 190;
inline constexpr VirtualKey kVkOem2 = 191;  // '/' and '?'

// The modifier bits of a key event's shift state.
inline constexpr std::int16_t kShiftMask = 1;
inline constexpr std::int16_t kCtrlMask = 2;
inline constexpr std::int16_t kAltMask = 4;

}  // namespace trelvin
