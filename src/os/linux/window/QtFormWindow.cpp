#include "os/linux/window/QtFormWindow.h"

#include <algorithm>

#include <QCloseEvent>
#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

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
  std::vector<Control*> controls = form_.Controls();
  std::vector<QWidget*> focus_chain;
  std::stable_sort(controls.begin(), controls.end(),
                   [](Control* a, Control* b) { return a->TabIndex() < b->TabIndex(); });
  for (Control* control : controls) {
    QWidget* view = CreateControlView(*control, this, DevicePixels());
    if (view && view->focusPolicy() != Qt::NoFocus) focus_chain.push_back(view);
  }
  for (std::size_t i = 1; i < focus_chain.size(); ++i) {
    QWidget::setTabOrder(focus_chain[i - 1], focus_chain[i]);
  }
  if (!focus_chain.empty()) focus_chain.front()->setFocus();
}

void QtFormWindow::CreateTimers() {
  for (Timer* model : form_.Timers()) {
    auto timer = std::make_unique<QTimer>(this);
    QTimer* raw = timer.get();
    raw->setTimerType(Qt::PreciseTimer);
    connect(raw, &QTimer::timeout, this, [this, model] {
      if (!unloaded_ && model->Enabled() && model->on_timer) model->on_timer();
    });
    auto sync = [raw, model] {
      raw->setInterval(model->Interval());
      if (model->Enabled() && !raw->isActive()) raw->start();
      if (!model->Enabled()) raw->stop();
    };
    model->on_view_changed = sync;
    sync();
    timers_.push_back(std::move(timer));
  }
}

namespace {

// A borderless form placed at (0, 0) with the primary screen's size covers that screen: it goes
// full screen there, so that the window manager keeps it above its panels.
QScreen* CoveredScreen(const Form& form) {
  QScreen* primary = QGuiApplication::primaryScreen();
  if (!primary || form.Border() != BorderStyle::kNone) return nullptr;
  const Rect g = form.Geometry();
  const QSize size = DeviceSize(*primary);
  const bool covers =
      g.left == 0 && g.top == 0 && g.width == size.width() && g.height == size.height();
  return covers ? primary : nullptr;
}

}  // namespace

QSize DeviceSize(const QScreen& screen) {
  const QSize logical = screen.geometry().size();
  const qreal ratio = screen.devicePixelRatio();
  return QSize(qRound(logical.width() * ratio), qRound(logical.height() * ratio));
}

bool QtFormWindow::DevicePixels() const { return form_.Border() == BorderStyle::kNone; }

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
  // The form decides: closing the window is unloading the form.
  event->ignore();
  if (!unloaded_) form_.Unload();
}

void QtFormWindow::keyPressEvent(QKeyEvent* event) {
  // Keys queued behind the one that closed the window belong to nothing any more.
  if (unloaded_ || !form_.Loaded()) return;
  if (form_.Border() != BorderStyle::kNone) {
    QWidget::keyPressEvent(event);
    return;
  }
  std::int16_t key_code = ToVirtualKey(*event);
  form_.Form_KeyDown(key_code, ToShiftState(*event));
}

void QtFormWindow::mousePressEvent(QMouseEvent* event) {
  if (unloaded_ || !form_.Loaded()) return;
  std::int16_t button = event->button() == Qt::LeftButton    ? 1
                        : event->button() == Qt::RightButton ? 2
                                                             : 4;
  const QPointF p = event->position() * (DevicePixels() ? devicePixelRatioF() : 1.0);
  form_.Form_MouseDown(button, 0, static_cast<float>(p.x()), static_cast<float>(p.y()));
}

void QtFormWindow::paintEvent(QPaintEvent* event) {
  if (form_.Border() != BorderStyle::kNone) return;
  QPainter painter(this);
  // Only what needs it: a picture that covers its control is painted by the control alone.
  const QColor back = QColor::fromRgb(form_.BackColor());
  for (const QRect& r : event->region()) painter.fillRect(r, back);
}

}  // namespace trelvin
