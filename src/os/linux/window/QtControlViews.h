#pragma once

#include <QWidget>

#include "core/controls/Control.h"
#include "core/runtime/FormEvents.h"

namespace trelvin {

// Creates the widget that mirrors `control` inside `parent` and reports the user's actions back to
// the model as events of the form (`events`). The widget unhooks itself from the model when
// destroyed. With `device_pixels` the
// model's geometry is in device pixels (the slide show: one picture pixel per screen pixel), else
// in the layout's own pixels, which Qt scales with the desktop.
QWidget* CreateControlView(Control& control, QWidget* parent, FormEvents& events,
                           bool device_pixels = false);

// The smallest rectangle in Qt's own (scaled) pixels that holds `device` pixels at `ratio`.
QRect LogicalCover(const QRect& device, qreal ratio);

}  // namespace trelvin
