#pragma once

#include "core/base/Bitmap.h"
#include "core/base/Types.h"

namespace trelvin {

// `stored` turned upright by an EXIF orientation (1 to 8; 5 to 8 swap width and height). Other
// values leave it as it is.
Bitmap Oriented(const Bitmap& stored, int orientation);

// `source` brought to `size`: each pixel the average of the source pixels it covers when
// shrinking, the nearest one when enlarging. An empty bitmap when either size is empty or the
// memory cannot be had.
Bitmap BoxScaled(const Bitmap& source, Size size);

}  // namespace trelvin
