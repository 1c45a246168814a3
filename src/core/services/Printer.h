#pragma once

#include <optional>

#include "core/base/Picture.h"
#include "core/base/Types.h"

namespace trelvin {

// The default printer. Positions and sizes in 1/1440 inch.
class Printer {
 public:
  virtual ~Printer() = default;
  // The page's width and height, or nullopt when there is no default printer.
  virtual std::optional<Size> PageSize() = 0;
  // Draws `picture` at its own size with its top-left corner at (x, y); false on failure.
  virtual bool PaintPicture(const Picture& picture, int x, int y) = 0;
  // Ends the document, sending what was drawn to the printer; false on failure.
  virtual bool EndDoc() = 0;
};

}  // namespace trelvin
