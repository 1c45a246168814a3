#include "os/linux/window/QtCursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace trelvin {

QtCursor::~QtCursor() {
  if (hidden_ && QGuiApplication::instance()) QGuiApplication::restoreOverrideCursor();
}

int QtCursor::ShowCursor(bool show) {
  counter_ += show ? 1 : -1;
  const bool hide = counter_ < 0;
  if (hide && !hidden_) {
    QGuiApplication::setOverrideCursor(QCursor(Qt::BlankCursor));
    hidden_ = true;
  } else if (!hide && hidden_) {
    QGuiApplication::restoreOverrideCursor();
    hidden_ = false;
  }
  return counter_;
}

}  // namespace trelvin
