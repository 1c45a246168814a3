#pragma once

#include <cstdint>

namespace trelvin::mci {

// Result codes of the media control interface, with the values the Windows interface uses.
constexpr std::uint32_t kOk = 0;
constexpr std::uint32_t kErrBase = 256;
constexpr std::uint32_t kErrUnrecognizedKeyword = kErrBase + 3;
constexpr std::uint32_t kErrUnrecognizedCommand = kErrBase + 5;
constexpr std::uint32_t kErrHardware = kErrBase + 6;
constexpr std::uint32_t kErrInvalidDeviceName = kErrBase + 7;
constexpr std::uint32_t kErrMissingCommandString = kErrBase + 11;
constexpr std::uint32_t kErrMissingStringArgument = kErrBase + 13;
constexpr std::uint32_t kErrBadInteger = kErrBase + 14;
constexpr std::uint32_t kErrMissingParameter = kErrBase + 17;
constexpr std::uint32_t kErrUnsupportedFunction = kErrBase + 18;
constexpr std::uint32_t kErrFileNotFound = kErrBase + 19;
constexpr std::uint32_t kErrCannotUseAll = kErrBase + 23;
constexpr std::uint32_t kErrExtensionNotFound = kErrBase + 25;
constexpr std::uint32_t kErrDuplicateAlias = kErrBase + 33;
constexpr std::uint32_t kErrMissingDeviceName = kErrBase + 36;
constexpr std::uint32_t kErrNoClosingQuote = kErrBase + 38;
constexpr std::uint32_t kErrDuplicateFlags = kErrBase + 39;
constexpr std::uint32_t kErrInvalidFile = kErrBase + 40;
constexpr std::uint32_t kErrSeqPortInUse = kErrBase + 81;
constexpr std::uint32_t kErrSeqNoMidiPresent = kErrBase + 87;

}  // namespace trelvin::mci
