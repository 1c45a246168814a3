#include "os/linux/window/QtControlViews.h"

#include <cmath>

#include <QCheckBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>

#include "core/controls/Button.h"
#include "core/controls/CheckBox.h"
#include "core/controls/ImageControl.h"
#include "core/controls/Label.h"
#include "core/controls/PictureBox.h"
#include "core/controls/ScrollBar.h"
#include "os/linux/desktop/QtPicture.h"

namespace trelvin {

namespace {

QString ToQ(const std::string& text) { return QString::fromStdString(text); }

void SyncCommon(QWidget& widget, const Control& control, bool device_pixels) {
  const Rect g = control.Geometry();
  const QRect rect(g.left, g.top, g.width, g.height);
  widget.setGeometry(device_pixels ? LogicalCover(rect, widget.devicePixelRatioF()) : rect);
  widget.setEnabled(control.Enabled());
  widget.setVisible(control.Visible());
}

// Binds a widget to its model for the widget's lifetime.
template <class Model>
void Bind(QWidget* widget, Model& model, std::function<void()> sync) {
  model.on_view_changed = sync;
  QObject::connect(widget, &QObject::destroyed, [&model] { model.on_view_changed = nullptr; });
  sync();
}

class LabelView : public QLabel {
 public:
  LabelView(Label& model, QWidget* parent, FormEvents& events, bool device_pixels)
      : QLabel(parent), model_(model), events_(events) {
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    const LabelStyle& style = model.Style();
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, QColor::fromRgb(style.fore_color));
    setPalette(pal);
    if (style.underline) {
      QFont f = font();
      f.setUnderline(true);
      setFont(f);
    }
    if (style.link_cursor) setCursor(Qt::PointingHandCursor);
    Bind(this, model_, [this, device_pixels] {
      setText(ToQ(model_.Caption()));
      setToolTip(ToQ(model_.ToolTipText()));
      SyncCommon(*this, model_, device_pixels);
    });
  }

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
      events_.Control(model_.on_click);
    }
  }
  void mouseDoubleClickEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton) events_.Control(model_.on_dbl_click);
  }

 private:
  Label& model_;
  FormEvents& events_;
};

class ScrollBarView : public QScrollBar {
 public:
  ScrollBarView(ScrollBar& model, QWidget* parent, FormEvents& events, bool device_pixels)
      : QScrollBar(Qt::Horizontal, parent), model_(model) {
    // The change comes when the thumb is released, not while it is dragged.
    setTracking(false);
    setRange(model.Min(), model.Max());
    setSingleStep(model.SmallChange());
    setPageStep(model.LargeChange());
    connect(this, &QScrollBar::valueChanged, this, [this, ev = &events](int value) {
      if (!syncing_) ev->Control([this, value] { model_.SetValue(value); });
    });
    Bind(this, model_, [this, device_pixels] {
      syncing_ = true;
      setValue(model_.Value());
      syncing_ = false;
      SyncCommon(*this, model_, device_pixels);
    });
  }

 private:
  ScrollBar& model_;
  bool syncing_ = false;
};

class CheckBoxView : public QCheckBox {
 public:
  CheckBoxView(CheckBox& model, QWidget* parent, FormEvents& events, bool device_pixels)
      : QCheckBox(parent), model_(model), events_(events) {
    setText(ToQ(model.Caption()));
    Bind(this, model_, [this, device_pixels] {
      syncing_ = true;
      setCheckState(model_.Value() == CheckBox::kChecked  ? Qt::Checked
                    : model_.Value() == CheckBox::kGrayed ? Qt::PartiallyChecked
                                                          : Qt::Unchecked);
      syncing_ = false;
      SyncCommon(*this, model_, device_pixels);
    });
  }

 protected:
  // The user only clears or checks a box; a grayed one becomes checked.
  void nextCheckState() override {
    if (syncing_) return;
    events_.Control([this] {
      model_.SetValue(model_.Value() == CheckBox::kChecked ? CheckBox::kCleared
                                                           : CheckBox::kChecked);
    });
  }

 private:
  CheckBox& model_;
  FormEvents& events_;
  bool syncing_ = false;
};

class ButtonView : public QPushButton {
 public:
  ButtonView(Button& model, QWidget* parent, FormEvents& events, bool device_pixels)
      : QPushButton(parent), model_(model) {
    setAutoDefault(false);
    connect(this, &QPushButton::clicked, this,
            [this, ev = &events] { ev->Control(model_.on_click); });
    Bind(this, model_, [this, device_pixels] {
      setText(ToQ(model_.Caption()));
      SyncCommon(*this, model_, device_pixels);
    });
  }

 private:
  Button& model_;
};

class PictureBoxView : public QWidget {
 public:
  PictureBoxView(PictureBox& model, QWidget* parent, bool device_pixels)
      : QWidget(parent), model_(model) {
    Bind(this, model_, [this, device_pixels] { SyncCommon(*this, model_, device_pixels); });
  }

 private:
  PictureBox& model_;
};

class ImageView : public QWidget {
 public:
  ImageView(ImageControl& model, QWidget* parent, FormEvents& events, bool device_pixels)
      : QWidget(parent), model_(model), events_(events), device_pixels_(device_pixels) {
    Bind(this, model_, [this] {
      SyncCommon(*this, model_, device_pixels_);
      // An opaque picture that covers the whole control leaves nothing beneath to paint. On a
      // scaled screen the control may be a fraction of a pixel larger than the picture.
      auto picture = std::dynamic_pointer_cast<const QtPicture>(model_.CurrentPicture());
      const bool opaque = picture && !picture->image().isNull() &&
                          !picture->image().hasAlphaChannel() && DeviceTarget() == QRectF(rect());
      setAttribute(Qt::WA_OpaquePaintEvent, opaque);
      update();
    });
  }

 protected:
  void paintEvent(QPaintEvent* event) override {
    auto picture = std::dynamic_pointer_cast<const QtPicture>(model_.CurrentPicture());
    if (!picture || picture->image().isNull()) return;
    // The control's rectangle is the picture's natural size unless stretched; either way the
    // picture fills it. A picture of another size is scaled while it is drawn, in one pass
    // straight into the window's backing store (bilinear: smooth enough for the moderate
    // factors a slide needs, and several times faster than Qt's area-averaging scaler), and only
    // where the window needs painting.
    const QImage& image = picture->image();
    QPainter painter(this);
    const QRect dirty = event->rect();
    const QRectF target = DeviceTarget();
    if (image.size() == size() && target == QRectF(rect())) {
      painter.drawImage(dirty.topLeft(), image, dirty);
      return;
    }
    painter.setClipRect(dirty);
    const Rect g = model_.Geometry();
    // A picture at its natural size is copied pixel for pixel, never smoothed.
    const bool natural = image.width() == g.width && image.height() == g.height;
    painter.setRenderHint(QPainter::SmoothPixmapTransform, !natural || !device_pixels_);
    painter.drawImage(target, image);
  }
  // A press over the picture is the picture's: the show ends at the click, not at the press.
  void mousePressEvent(QMouseEvent* event) override { event->accept(); }
  void mouseReleaseEvent(QMouseEvent* event) override {
    if (rect().contains(event->position().toPoint())) events_.Control(model_.on_click);
  }

 private:
  // Where the model's rectangle lies in this widget, in Qt's pixels; in device pixels it falls on
  // whole pixels of the screen even where Qt's pixels do not.
  QRectF DeviceTarget() const {
    if (!device_pixels_) return QRectF(rect());
    const qreal ratio = devicePixelRatioF();
    const Rect g = model_.Geometry();
    return QRectF(g.left / ratio - x(), g.top / ratio - y(), g.width / ratio, g.height / ratio);
  }

  ImageControl& model_;
  FormEvents& events_;
  bool device_pixels_;
};

}  // namespace

QRect LogicalCover(const QRect& device, qreal ratio) {
  if (ratio == 1.0) return device;
  const int left = static_cast<int>(std::floor(device.left() / ratio));
  const int top = static_cast<int>(std::floor(device.top() / ratio));
  const int right = static_cast<int>(std::ceil((device.left() + device.width()) / ratio));
  const int bottom = static_cast<int>(std::ceil((device.top() + device.height()) / ratio));
  return QRect(left, top, right - left, bottom - top);
}

QWidget* CreateControlView(Control& control, QWidget* parent, FormEvents& events,
                           bool device_pixels) {
  if (auto* label = dynamic_cast<Label*>(&control)) {
    return new LabelView(*label, parent, events, device_pixels);
  }
  if (auto* bar = dynamic_cast<ScrollBar*>(&control)) {
    return new ScrollBarView(*bar, parent, events, device_pixels);
  }
  if (auto* box = dynamic_cast<CheckBox*>(&control)) {
    return new CheckBoxView(*box, parent, events, device_pixels);
  }
  if (auto* button = dynamic_cast<Button*>(&control)) {
    return new ButtonView(*button, parent, events, device_pixels);
  }
  if (auto* canvas = dynamic_cast<PictureBox*>(&control))
    return new PictureBoxView(*canvas, parent, device_pixels);
  if (auto* image = dynamic_cast<ImageControl*>(&control)) {
    return new ImageView(*image, parent, events, device_pixels);
  }
  return nullptr;
}

}  // namespace trelvin
