#pragma once

#include <windows.h>

#include "core/base/Types.h"
#include "os/windows/desktop/WicPicture.h"

namespace trelvin {

// Draws the slide show's surface: `picture` in `place` (stretched to it), the background colour
// only where the picture does not lie, so a changing picture never flashes the background.
void PaintShow(HDC dc, const RECT& client, const WicPicture* picture, const Rect& place,
               Rgb background);

}  // namespace trelvin
