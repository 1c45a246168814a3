#include "video/Frame.h"

namespace trelvin::video {

Placement FitInside(int source_w, int source_h, int frame_w, int frame_h) {
  Placement place{0, 0, frame_w, frame_h};
  if (source_w <= 0 || source_h <= 0) return place;
  const long long wide = static_cast<long long>(source_w) * frame_h;
  const long long tall = static_cast<long long>(source_h) * frame_w;
  if (wide > tall) {
    place.height = static_cast<int>((tall + source_w / 2) / source_w);
  } else if (wide < tall) {
    place.width = static_cast<int>((wide + source_h / 2) / source_h);
  }
  if (place.width < 1) place.width = 1;
  if (place.height < 1) place.height = 1;
  // Even offsets keep each chroma sample within one side of a bar's edge.
  place.x = (frame_w - place.width) / 2 & ~1;
  place.y = (frame_h - place.height) / 2 & ~1;
  return place;
}

void VideoSize(int source_w, int source_h, int width, int& out_w, int& out_h) {
  out_w = source_w;
  out_h = source_h;
  if (width > 0 && width < source_w && source_w > 0) {
    out_w = width;
    out_h = static_cast<int>((static_cast<long long>(source_h) * width + source_w / 2) / source_w);
  }
  out_w &= ~1;
  out_h &= ~1;
  if (out_w <= 0 || out_h <= 0) out_w = out_h = 0;
}

}  // namespace trelvin::video
