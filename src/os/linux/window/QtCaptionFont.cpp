#include "os/linux/window/QtCaptionFont.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

namespace trelvin {

namespace {

constexpr int kLargestPixels = 11;  // 8 points at 96 dpi, as the layout was drawn
constexpr int kSmallestPixels = 8;

// Whether the caption of `view` fits the width the layout gives it.
bool Fits(QWidget& view) {
  const int room = view.width() - 1;  // never touching the edge
  if (auto* label = qobject_cast<QLabel*>(&view)) {
    return label->text().isEmpty() || label->fontMetrics().horizontalAdvance(label->text()) <= room;
  }
  if (auto* check = qobject_cast<QCheckBox*>(&view)) {
    // The box, the space after it, the text (the style's hint adds a focus frame that may pass
    // the edge).
    const QStyle& style = *check->style();
    return check->text().isEmpty() ||
           style.pixelMetric(QStyle::PM_IndicatorWidth, nullptr, check) +
                   style.pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, check) +
                   check->fontMetrics().horizontalAdvance(check->text()) <=
               room;
  }
  if (auto* button = qobject_cast<QPushButton*>(&view)) {
    // The text is centred inside the frame; the underline marks ("&") take no room.
    QString text = button->text();
    text.remove('&');
    const int frame = 2 * (button->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 1);
    return button->fontMetrics().horizontalAdvance(text) <= room - frame;
  }
  return true;
}

}  // namespace

void FitCaptionFont(QWidget& window, const std::vector<QWidget*>& views) {
  QFont font("Liberation Sans");
  font.setStyleHint(QFont::SansSerif);
  for (int pixels = kLargestPixels; pixels >= kSmallestPixels; --pixels) {
    font.setPixelSize(pixels);
    window.setFont(font);
    bool all = true;
    for (QWidget* view : views) {
      // A view with a font of its own (the underlined link) keeps its style, in this size.
      QFont own = font;
      own.setUnderline(view->font().underline());
      view->setFont(own);
      all = Fits(*view) && all;
    }
    if (all) return;
  }
}

}  // namespace trelvin
