#pragma once

#include <map>

#include <QColor>
#include <QObject>
#include <QWidget>

class QScreen;

namespace trelvin {

// While a window covers the primary screen full screen (the slide show), every other monitor is
// covered by a borderless window in `background`. Keys, mouse presses and closing there go to that
// window, as if they had happened on it. Monitors that come, go or move are followed. The covers
// are children of `shown`, so that its modality does not block them; they go with this object,
// which must go before `shown` does.
class QtCoverWindows : public QObject {
 public:
  QtCoverWindows(QWidget& shown, QColor background);
  ~QtCoverWindows() override;
  QtCoverWindows(const QtCoverWindows&) = delete;
  QtCoverWindows& operator=(const QtCoverWindows&) = delete;

 private:
  // One cover on each monitor but the primary one, placed over it.
  void Follow();

  QWidget& shown_;
  QColor background_;
  std::map<QScreen*, QWidget*> covers_;
};

}  // namespace trelvin
