#include "os/common/PictureHeader.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <string_view>
#include <vector>

namespace trelvin {

namespace {

bool Read(std::istream& in, std::uint8_t* bytes, std::streamsize count) {
  return static_cast<bool>(in.read(reinterpret_cast<char*>(bytes), count));
}

int Little16(const std::uint8_t* p) { return p[0] | (p[1] << 8); }
int Big16(const std::uint8_t* p) { return (p[0] << 8) | p[1]; }
std::uint32_t Little32(const std::uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint32_t Big32(const std::uint8_t* p) {
  return (static_cast<std::uint32_t>(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
}
// Lengths beyond what a Size holds are as refused as any other huge one.
int Clamped(std::uint32_t length) {
  return static_cast<int>(std::min<std::uint32_t>(length, INT_MAX));
}

Size GifSize(std::istream& in) {
  std::uint8_t screen[7];  // after "GIF89a": width, height, flags, background, aspect
  if (!Read(in, screen, 7)) return {};
  Size size{Little16(screen), Little16(screen + 2)};
  if (screen[4] & 0x80) in.seekg(3 << ((screen[4] & 7) + 1), std::ios::cur);
  for (;;) {
    std::uint8_t kind = 0;
    if (!Read(in, &kind, 1)) return {};
    if (kind == ',') {
      std::uint8_t frame[8];  // left, top, width, height
      if (!Read(in, frame, 8)) return {};
      size.width = std::max(size.width, Little16(frame) + Little16(frame + 4));
      size.height = std::max(size.height, Little16(frame + 2) + Little16(frame + 6));
      return size;
    }
    if (kind != '!') return {};  // the trailer, or damage, before any frame
    std::uint8_t label = 0;
    if (!Read(in, &label, 1)) return {};
    for (std::uint8_t length = 0;;) {  // sub-blocks up to an empty one
      if (!Read(in, &length, 1)) return {};
      if (length == 0) break;
      in.seekg(length, std::ios::cur);
    }
  }
}

Size JpegSize(std::istream& in) {
  for (;;) {
    std::uint8_t marker[2];
    if (!Read(in, marker, 2) || marker[0] != 0xFF) return {};
    // Fill bytes before a marker.
    while (marker[1] == 0xFF) {
      if (!Read(in, marker + 1, 1)) return {};
    }
    const std::uint8_t code = marker[1];
    if (code == 0xD8 || (code >= 0xD0 && code <= 0xD7) || code == 0x01) continue;
    if (code == 0xD9 || code == 0xDA) return {};  // no frame before the data
    std::uint8_t length_bytes[2];
    if (!Read(in, length_bytes, 2)) return {};
    const int length = Big16(length_bytes);
    if (length < 2) return {};
    const bool frame = code >= 0xC0 && code <= 0xCF && code != 0xC4 && code != 0xC8 && code != 0xCC;
    if (frame) {
      std::uint8_t header[5];  // precision, height, width
      if (length < 7 || !Read(in, header, 5)) return {};
      return Size{Big16(header + 3), Big16(header + 1)};
    }
    in.seekg(length - 2, std::ios::cur);
  }
}

// After the PNG signature's first two bytes: the rest of it, then the IHDR chunk, whose first
// fields are the width and height.
Size PngSize(std::istream& in) {
  std::uint8_t header[22];  // rest of the signature, length, "IHDR", width, height
  if (!Read(in, header, 22) ||
      std::string_view(reinterpret_cast<char*>(header + 10), 4) != "IHDR") {
    return {};
  }
  return {Clamped(Big32(header + 14)), Clamped(Big32(header + 18))};
}

// After "BM": the file header's rest, then the info header's size, width and height (16-bit in
// the old core header, 32-bit and signed in the others: a negative height is stored top-down).
Size BmpSize(std::istream& in) {
  std::uint8_t header[24];
  if (!Read(in, header, 16)) return {};
  const std::uint32_t info_size = Little32(header + 12);
  if (info_size == 12) {
    if (!Read(in, header + 16, 4)) return {};
    return {Little16(header + 16), Little16(header + 18)};
  }
  if (!Read(in, header + 16, 8)) return {};
  const auto width = static_cast<std::int32_t>(Little32(header + 16));
  const auto height = static_cast<std::int32_t>(Little32(header + 20));
  if (width <= 0 || height == 0 || height == INT32_MIN) return {};
  return {width, height < 0 ? -height : height};
}

// After "RIFF": the WebP header and the first chunk, one of the three kinds of stream.
Size WebpSize(std::istream& in) {
  std::uint8_t header[26];  // size, "WEBP", chunk kind, chunk size, up to 10 bytes of chunk
  if (!Read(in, header, 26) || std::string_view(reinterpret_cast<char*>(header + 4), 4) != "WEBP") {
    return {};
  }
  const std::string_view kind(reinterpret_cast<char*>(header + 8), 4);
  const std::uint8_t* chunk = header + 16;
  if (kind == "VP8X") {  // flags, 3 reserved, canvas width - 1 and height - 1 in 24 bits each
    return {static_cast<int>((Little32(chunk + 4) & 0xFFFFFF) + 1),
            static_cast<int>((Little32(chunk + 6) >> 8) + 1)};
  }
  if (kind == "VP8L") {  // signature 0x2F, then width - 1 and height - 1 in 14 bits each
    if (chunk[0] != 0x2F) return {};
    const std::uint32_t bits = Little32(chunk + 1);
    return {static_cast<int>((bits & 0x3FFF) + 1), static_cast<int>(((bits >> 14) & 0x3FFF) + 1)};
  }
  if (kind == "VP8 ") {  // frame tag, start code 9D 01 2A, then width and height in 14 bits each
    if (chunk[3] != 0x9D || chunk[4] != 0x01 || chunk[5] != 0x2A) return {};
    return {Little16(chunk + 6) & 0x3FFF, Little16(chunk + 8) & 0x3FFF};
  }
  return {};
}

// The orientation entry (tag 274) of the first image directory of an "Exif" APP1 segment.
int ExifOrientation(const std::vector<std::uint8_t>& segment) {
  if (segment.size() < 14 || std::string_view(reinterpret_cast<const char*>(segment.data()), 6) !=
                                 std::string_view("Exif\0\0", 6)) {
    return 1;
  }
  const std::uint8_t* tiff = segment.data() + 6;
  const std::size_t size = segment.size() - 6;
  const bool little = tiff[0] == 'I' && tiff[1] == 'I';
  if (!little && !(tiff[0] == 'M' && tiff[1] == 'M')) return 1;
  auto u16 = [&](std::size_t at) { return little ? Little16(tiff + at) : Big16(tiff + at); };
  auto u32 = [&](std::size_t at) { return little ? Little32(tiff + at) : Big32(tiff + at); };
  const std::uint32_t directory = u32(4);
  if (directory > size - 2) return 1;
  const int entries = u16(directory);
  for (int i = 0; i < entries; ++i) {
    const std::size_t entry = directory + 2 + static_cast<std::size_t>(i) * 12;
    if (entry + 12 > size) return 1;
    if (u16(entry) == 274 && u16(entry + 2) == 3) {  // orientation, a SHORT
      const int value = u16(entry + 8);
      return value >= 1 && value <= 8 ? value : 1;
    }
  }
  return 1;
}

}  // namespace

int PictureHeader::JpegOrientation(std::istream& in) {
  std::uint8_t magic[2];
  if (!Read(in, magic, 2) || magic[0] != 0xFF || magic[1] != 0xD8) return 1;
  for (;;) {
    std::uint8_t marker[2];
    if (!Read(in, marker, 2) || marker[0] != 0xFF) return 1;
    while (marker[1] == 0xFF) {
      if (!Read(in, marker + 1, 1)) return 1;
    }
    const std::uint8_t code = marker[1];
    if ((code >= 0xD0 && code <= 0xD7) || code == 0x01) continue;
    // The metadata segments come before the frame; the first frame or scan ends the search.
    if (code == 0xD9 || code == 0xDA || (code >= 0xC0 && code <= 0xCF)) return 1;
    std::uint8_t length_bytes[2];
    if (!Read(in, length_bytes, 2)) return 1;
    const int length = Big16(length_bytes);
    if (length < 2) return 1;
    if (code == 0xE1) {
      std::vector<std::uint8_t> segment(static_cast<std::size_t>(length - 2));
      if (!Read(in, segment.data(), length - 2)) return 1;
      if (segment.size() >= 6 && segment[0] == 'E') return ExifOrientation(segment);
      continue;
    }
    in.seekg(length - 2, std::ios::cur);
  }
}

std::optional<Size> PictureHeader::DeclaredSize(std::istream& in) {
  std::uint8_t magic[6] = {};
  if (!Read(in, magic, 2)) return std::nullopt;
  if (magic[0] == 0xFF && magic[1] == 0xD8) {
    in.seekg(0);
    return JpegSize(in);
  }
  if (magic[0] == 'G' && magic[1] == 'I' && Read(in, magic + 2, 4) && magic[2] == 'F') {
    return GifSize(in);
  }
  if (magic[0] == 0x89 && magic[1] == 'P') return PngSize(in);
  if (magic[0] == 'B' && magic[1] == 'M') return BmpSize(in);
  if (magic[0] == 'R' && magic[1] == 'I' && Read(in, magic + 2, 2) && magic[2] == 'F' &&
      magic[3] == 'F') {
    return WebpSize(in);
  }
  return std::nullopt;
}

}  // namespace trelvin
