#pragma once

#include <QWidget>

#include "platform/controls/Control.h"

namespace trelvin {

// Creates the widget that mirrors `control` inside `parent` and reports the user's actions back to
// the model. The widget unhooks itself from the model when destroyed.
QWidget* CreateControlView(Control& control, QWidget* parent);

}  // namespace trelvin
