#include "os/linux/window/QtFormWindow.h"

#include <QCloseEvent>
#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

#include "core/runtime/FormRules.h"
#include "os/linux/window/QtCaptionFont.h"
#include "os/linux/window/QtControlViews.h"
#include "os/linux/window/QtKeyMap.h"

namespace trelvin {

QtFormWindow::QtFormWindow(Form& form, QWidget* owner) : QWidget(owner, Qt::Window), form_(form) {
  setObjectName(QString::fromStdString(form.Name()));
  if (form.Border() == BorderStyle::kNone) {
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  } else {
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
  }
  setAutoFillBackground(false);
  setFocusPolicy(Qt::StrongFocus);
  CreateControls();
  CreateTimers();
  form_.on_view_changed = [this] { SyncForm(); };
  SyncForm();
}

QtFormWindow::~QtFormWindow() {
  form_.on_view_changed = nullptr;
  for (Timer* timer : form_.Timers()) timer->on_view_changed = nullptr;
}

void QtFormWindow::CreateControls() {
  for (Control* control : TabOrder(form_)) {
    QWidget* view = CreateControlView(*control, this, events_, DevicePixels());
    if (!view) continue;
    views_[control] = view;
    // The focus moves by the form's own rules (focusNextPrevChild), never by Qt's chain.
    view->setFocusPolicy(TakesFocus(*control) ? Qt::StrongFocus : Qt::NoFocus);
  }
  std::vector<QWidget*> views;
  for (const auto& [control, view] : views_) views.push_back(view);
  FitCaptionFont(*this, views);
  if (Control* first = NextFocus(form_, nullptr, 1)) views_[first]->setFocus();
}

QWidget* QtFormWindow::ViewOf(const Control& control) const {
  auto it = views_.find(&control);
  return it == views_.end() ? nullptr : it->second;
}

void QtFormWindow::CreateTimers() {
  for (Timer* model : form_.Timers()) {
    auto timer = std::make_unique<QTimer>(this);
    QTimer* raw = timer.get();
    raw->setTimerType(Qt::PreciseTimer);
    connect(raw, &QTimer::timeout, this, [this, model] { events_.Tick(*model); });
    auto sync = [this, raw, model] {
      raw->setInterval(model->Interval());
      const bool runs = TimerRuns(*model) && !unloaded_;
      if (runs && !raw->isActive()) raw->start();
      if (!runs) raw->stop();
    };
    model->on_view_changed = sync;
    sync();
    timers_.push_back(std::move(timer));
  }
}

namespace {

// The primary screen when the form covers it (CoversScreen): it goes full screen there, so that
// the window manager keeps it above its panels.
QScreen* CoveredScreen(const Form& form) {
  QScreen* primary = QGuiApplication::primaryScreen();
  if (!primary) return nullptr;
  const QSize size = DeviceSize(*primary);
  return CoversScreen(form, {size.width(), size.height()}) ? primary : nullptr;
}

}  // namespace

QSize DeviceSize(const QScreen& screen) {
  const QSize logical = screen.geometry().size();
  const qreal ratio = screen.devicePixelRatio();
  return QSize(qRound(logical.width() * ratio), qRound(logical.height() * ratio));
}

bool QtFormWindow::DevicePixels() const { return form_.Border() == BorderStyle::kNone; }

QPointF QtFormWindow::FormPoint(QPointF global) const {
  return mapFromGlobal(global) * (DevicePixels() ? devicePixelRatioF() : 1.0);
}

void QtFormWindow::SyncForm() {
  setWindowTitle(QString::fromStdString(form_.Caption()));
  const Rect g = form_.Geometry();
  // A window inside another program's window (a screen saver's) fills its place there instead.
  const bool embedded = windowHandle() && windowHandle()->parent();
  QScreen* covered = embedded ? nullptr : CoveredScreen(form_);
  if (form_.Border() == BorderStyle::kFixedSingle) {
    setFixedSize(g.width, g.height);
  } else if (covered) {
    if (geometry() != covered->geometry()) setGeometry(covered->geometry());
  } else {
    setGeometry(LogicalCover(QRect(g.left, g.top, g.width, g.height), devicePixelRatioF()));
  }
  if (form_.Visible() && !isVisible()) {
    if (covered) {
      setScreen(covered);
      showFullScreen();
    } else {
      show();
    }
  }
  if (!form_.Visible() && isVisible()) hide();
  if (isVisible() && form_.State() == WindowState::kNormal &&
      isFullScreen() != (covered != nullptr)) {
    // Moved onto the whole screen, or off it, while shown.
    if (covered) {
      showFullScreen();
    } else {
      showNormal();
    }
  }
  if (isVisible()) {
    switch (form_.State()) {
      case WindowState::kMinimized:
        if (!isMinimized()) showMinimized();
        break;
      case WindowState::kMaximized:
        if (!isMaximized()) showMaximized();
        break;
      case WindowState::kNormal:
        if (isMinimized() || isMaximized()) showNormal();
        break;
    }
  }
  update();
}

void QtFormWindow::RunModal() {
  if (unloaded_) return;
  QEventLoop loop;
  modal_loop_ = &loop;
  loop.exec();
  modal_loop_ = nullptr;
}

void QtFormWindow::FormUnloaded() {
  unloaded_ = true;
  for (auto& timer : timers_) timer->stop();
  hide();
  if (modal_loop_) modal_loop_->quit();
}

void QtFormWindow::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() != QEvent::WindowStateChange || unloaded_ || !isVisible()) return;
  // A restore from the task bar, a minimise or maximise by the window manager: the model follows,
  // so that the form's next change of state is not taken for one already made.
  const WindowState state = isMinimized()   ? WindowState::kMinimized
                            : isMaximized() ? WindowState::kMaximized
                                            : WindowState::kNormal;
  form_.SetWindowState(state);
}

void QtFormWindow::closeEvent(QCloseEvent* event) {
  // The form decides: the window goes when the form has unloaded.
  event->ignore();
  events_.CloseRequested();
}

bool QtFormWindow::focusNextPrevChild(bool next) {
  // A borderless form takes Tab as any other key.
  if (form_.Border() == BorderStyle::kNone) return false;
  const Control* current = nullptr;
  for (const auto& [control, view] : views_) {
    if (view == focusWidget()) current = control;
  }
  if (Control* target = NextFocus(form_, current, next ? 1 : -1)) {
    views_[target]->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
  }
  return true;
}

void QtFormWindow::keyPressEvent(QKeyEvent* event) {
  if (!events_.KeyDown(ToVirtualKey(*event), ToShiftState(event->modifiers()))) {
    QWidget::keyPressEvent(event);
  }
}

void QtFormWindow::mousePressEvent(QMouseEvent* event) {
  const std::int16_t button = event->button() == Qt::LeftButton    ? kLeftButton
                              : event->button() == Qt::RightButton ? kRightButton
                                                                   : kMiddleButton;
  const QPointF p = event->position() * (DevicePixels() ? devicePixelRatioF() : 1.0);
  events_.MouseDown(button, ToShiftState(event->modifiers()), static_cast<float>(p.x()),
                    static_cast<float>(p.y()));
}

void QtFormWindow::paintEvent(QPaintEvent* event) {
  if (form_.Border() != BorderStyle::kNone) return;
  QPainter painter(this);
  // Only what needs it: a picture that covers its control is painted by the control alone.
  const QColor back = QColor::fromRgb(form_.BackColor());
  for (const QRect& r : event->region()) painter.fillRect(r, back);
}

}  // namespace trelvin
