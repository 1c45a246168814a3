#include "os/linux/window/QtCoverWindows.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPalette>
#include <QScreen>

namespace trelvin {

namespace {

class CoverWindow : public QWidget {
 public:
  CoverWindow(QWidget& shown, QColor background)
      : QWidget(&shown, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
        shown_(shown) {
    setObjectName("cover");
    setWindowTitle(shown.windowTitle());
    QPalette colours = palette();
    colours.setColor(QPalette::Window, background);
    setPalette(colours);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
    // The shown window keeps the keyboard until the user turns to a cover.
    setAttribute(Qt::WA_ShowWithoutActivating);
  }

 protected:
  void keyPressEvent(QKeyEvent* event) override { QCoreApplication::sendEvent(&shown_, event); }
  void mousePressEvent(QMouseEvent* event) override {
    QMouseEvent press(QEvent::MouseButtonPress, shown_.mapFromGlobal(event->globalPosition()),
                      event->globalPosition(), event->button(), event->buttons(),
                      event->modifiers());
    QCoreApplication::sendEvent(&shown_, &press);
  }
  // Closing a cover is closing the shown window, whose form decides.
  void closeEvent(QCloseEvent* event) override {
    event->ignore();
    shown_.close();
  }

 private:
  QWidget& shown_;
};

}  // namespace

QtCoverWindows::QtCoverWindows(QWidget& shown, QColor background)
    : shown_(shown), background_(background) {
  connect(qGuiApp, &QGuiApplication::screenAdded, this, [this] { Follow(); });
  connect(qGuiApp, &QGuiApplication::screenRemoved, this, [this] { Follow(); });
  connect(qGuiApp, &QGuiApplication::primaryScreenChanged, this, [this] { Follow(); });
  Follow();
}

QtCoverWindows::~QtCoverWindows() {
  for (auto& [screen, cover] : covers_) delete cover;
}

void QtCoverWindows::Follow() {
  const QList<QScreen*> screens = QGuiApplication::screens();
  QScreen* primary = QGuiApplication::primaryScreen();
  for (auto it = covers_.begin(); it != covers_.end();) {
    if (it->first == primary || !screens.contains(it->first)) {
      delete it->second;
      it = covers_.erase(it);
    } else {
      ++it;
    }
  }
  for (QScreen* screen : screens) {
    if (screen == primary) continue;
    QWidget*& cover = covers_[screen];
    if (!cover) {
      cover = new CoverWindow(shown_, background_);
      // A monitor that moves or changes its size is covered again where it is now.
      connect(screen, &QScreen::geometryChanged, cover,
              [cover, screen] { cover->setGeometry(screen->geometry()); });
    }
    cover->setScreen(screen);
    cover->setGeometry(screen->geometry());
    if (!cover->isVisible()) cover->showFullScreen();
  }
}

}  // namespace trelvin
