#include "core/base/PictureHeader.h"

#include <algorithm>
#include <cstdint>

namespace trelvin {

namespace {

bool Read(std::istream& in, std::uint8_t* bytes, std::streamsize count) {
  return static_cast<bool>(in.read(reinterpret_cast<char*>(bytes), count));
}

int Little16(const std::uint8_t* p) { return p[0] | (p[1] << 8); }
int Big16(const std::uint8_t* p) { return (p[0] << 8) | p[1]; }

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

}  // namespace

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
  return std::nullopt;
}

}  // namespace trelvin
