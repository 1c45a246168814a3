#pragma once

// Pictures and songs made on the spot for the tests of the Windows services (MIDI songs:
// MidiSong.h; GIF files: TestPictures.h).
#include <cstdint>
#include <string>
#include <vector>

#include "core/base/Bitmap.h"
#include "support/MidiSong.h"
#include "support/TestPictures.h"

namespace trelvin::test_support {

std::vector<std::uint8_t> ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

// A JPEG of `width` x `height` in one colour, encoded by the system's WIC encoder.
std::vector<std::uint8_t> SolidJpeg(int width, int height, Rgb colour);
enum class Format { kJpeg, kPng, kBmp };
// A picture of `width` x `height`, its left half `left` and the rest `right`, encoded by WIC.
std::vector<std::uint8_t> Encoded(Format kind, int width, int height, Rgb left, Rgb right);
// `seconds` of silence as MPEG-1 layer III frames (128 kbit/s, 44.1 kHz).
std::vector<std::uint8_t> SilentMp3(double seconds);

// A fresh folder for one test (UTF-8, ends with "\").
std::string FreshFolder(const std::string& name);

}  // namespace trelvin::test_support
