#include "os/linux/window/QtCoverWindows.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPalette>
#include <QScreen>

#include "core/runtime/FormRules.h"
#include "os/linux/window/QtFormWindow.h"
#include "os/linux/window/QtKeyMap.h"

namespace trelvin {

namespace {

Rect ToRect(const QRect& r) { return {r.x(), r.y(), r.width(), r.height()}; }

// A cover hands what the user does on it to the core, which decides what it means.
class CoverWindow : public QWidget {
 public:
  CoverWindow(QtFormWindow& shown, MonitorCovers& rules)
      : QWidget(&shown, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
        shown_(shown),
        rules_(rules) {
    setObjectName("cover");
    setWindowTitle(shown.windowTitle());
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
    // The shown window keeps the keyboard until the user turns to a cover.
    setAttribute(Qt::WA_ShowWithoutActivating);
  }

  void SetColour(Rgb colour) {
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor::fromRgb(colour));
    setPalette(colours);
  }

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (!rules_.KeyDown(ToVirtualKey(*event), ToShiftState(event->modifiers()))) {
      QWidget::keyPressEvent(event);
    }
  }
  void mousePressEvent(QMouseEvent* event) override {
    const std::int16_t button = event->button() == Qt::LeftButton    ? kLeftButton
                                : event->button() == Qt::RightButton ? kRightButton
                                                                     : kMiddleButton;
    const QPointF at = shown_.FormPoint(event->globalPosition());
    rules_.MouseDown(button, ToShiftState(event->modifiers()), static_cast<float>(at.x()),
                     static_cast<float>(at.y()));
  }
  void closeEvent(QCloseEvent* event) override {
    event->ignore();
    rules_.CloseRequested();
  }

 private:
  QtFormWindow& shown_;
  MonitorCovers& rules_;
};

}  // namespace

QtCoverWindows::QtCoverWindows(QtFormWindow& shown)
    : shown_(shown), rules_(shown.form(), shown.events(), *this) {
  const auto follow = [this] { Follow(); };
  connect(qGuiApp, &QGuiApplication::screenAdded, this, [this, follow](QScreen* screen) {
    // A monitor that moves or changes its size is covered again where it is now.
    connect(screen, &QScreen::geometryChanged, this, follow);
    Follow();
  });
  connect(qGuiApp, &QGuiApplication::screenRemoved, this, follow);
  connect(qGuiApp, &QGuiApplication::primaryScreenChanged, this, follow);
  for (QScreen* screen : QGuiApplication::screens()) {
    connect(screen, &QScreen::geometryChanged, this, follow);
  }
  Follow();
}

QtCoverWindows::~QtCoverWindows() {
  for (QWidget* cover : covers_) delete cover;
}

void QtCoverWindows::Follow() {
  std::vector<Rect> monitors;
  for (QScreen* screen : QGuiApplication::screens()) monitors.push_back(ToRect(screen->geometry()));
  // The monitor the window is on, as Qt places it: a full-screen window fills it.
  QScreen* own = shown_.screen();
  rules_.Follow(monitors, ToRect(own ? own->geometry() : shown_.geometry()));
}

void QtCoverWindows::PlaceCover(std::size_t index, Rect area, Rgb colour) {
  if (index >= covers_.size()) covers_.push_back(new CoverWindow(shown_, rules_));
  auto* cover = static_cast<CoverWindow*>(covers_[index]);
  cover->SetColour(colour);
  const QRect geometry(area.left, area.top, area.width, area.height);
  if (QScreen* screen = QGuiApplication::screenAt(geometry.center())) cover->setScreen(screen);
  cover->setGeometry(geometry);
  if (!cover->isVisible()) cover->showFullScreen();
}

void QtCoverWindows::RemoveCovers(std::size_t count) {
  while (covers_.size() > count) {
    delete covers_.back();
    covers_.pop_back();
  }
}

}  // namespace trelvin
