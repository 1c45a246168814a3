#pragma once

// A short MIDI song written byte by byte, the same on every system.
#include <cstdint>
#include <vector>

namespace trelvin::test_support {

// A variable-length quantity of a MIDI file.
inline void PutVarLen(std::vector<std::uint8_t>& out, std::uint32_t value) {
  std::uint8_t bytes[5];
  int n = 0;
  do {
    bytes[n++] = value & 0x7F;
    value >>= 7;
  } while (value);
  while (n > 1) out.push_back(bytes[--n] | 0x80);
  out.push_back(bytes[0]);
}

// A format-0 MIDI file of one note on each of two channels lasting `seconds`.
inline std::vector<std::uint8_t> MidiSong(double seconds) {
  constexpr std::uint16_t kDivision = 96;  // ticks per quarter note, at 0.5 s per quarter
  const auto ticks = static_cast<std::uint32_t>(seconds * kDivision * 2 + 0.5);
  std::vector<std::uint8_t> track = {0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20,  // 120 bpm
                                     0x00, 0xC0, 0x00,                          // piano
                                     0x00, 0x90, 0x3C, 0x64, 0x00, 0x91, 0x43, 0x50};
  PutVarLen(track, ticks);
  for (std::uint8_t b : {0x80, 0x3C, 0x40, 0x00, 0x81, 0x43, 0x40, 0x00, 0xFF, 0x2F, 0x00}) {
    track.push_back(b);
  }
  std::vector<std::uint8_t> file = {
      'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, kDivision >> 8, kDivision & 0xFF,
      'M', 'T', 'r', 'k'};
  const auto size = static_cast<std::uint32_t>(track.size());
  for (int shift = 24; shift >= 0; shift -= 8) file.push_back((size >> shift) & 0xFF);
  file.insert(file.end(), track.begin(), track.end());
  return file;
}

}  // namespace trelvin::test_support
