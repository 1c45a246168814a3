#pragma once

#include <vector>

class QWidget;

namespace trelvin {

// Gives `window` and its control views the font of a fixed layout: Liberation Sans (Arial's
// metrics, the nearest Debian has to the face the layout was drawn for) at the largest pixel size,
// 11 down to 8, at which every caption the views hold fits inside its control with a pixel to
// spare, measured at the window's own scale. A caption a label holds at the start is one the
// layout was drawn with; texts set later (values, the path, which has its tooltip) are not.
void FitCaptionFont(QWidget& window, const std::vector<QWidget*>& views);

}  // namespace trelvin
