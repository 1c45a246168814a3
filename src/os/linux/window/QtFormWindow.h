#pragma once

#include <map>
#include <memory>
#include <vector>

#include <QEventLoop>
#include <QTimer>
#include <QWidget>

#include "core/controls/Form.h"
#include "core/runtime/FormEvents.h"

class QScreen;

namespace trelvin {

// The screen's size in device pixels, whatever Qt scales its own pixels by.
QSize DeviceSize(const QScreen& screen);

// The top-level widget of one form. It creates a widget for each control, mirrors the models onto
// them, and turns Qt's timer, key, mouse, focus and close events into calls on the form's
// FormEvents, which keeps the rules.
class QtFormWindow : public QWidget {
  Q_OBJECT

 public:
  QtFormWindow(Form& form, QWidget* owner);
  ~QtFormWindow() override;

  Form& form() { return form_; }
  FormEvents& events() { return events_; }
  // The widget that shows `control`, or nullptr.
  QWidget* ViewOf(const Control& control) const;
  // Runs a nested event loop until the form unloads.
  void RunModal();
  // Called once the form has unloaded: ends the modal loop.
  void FormUnloaded();
  // A point of the desktop in the form's own units, as the form's mouse events give them.
  QPointF FormPoint(QPointF global) const;

 protected:
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool focusNextPrevChild(bool next) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  // A borderless form (the slide show) is laid out in device pixels, one picture pixel per
  // screen pixel; a form with a border keeps its fixed layout, which Qt scales with the desktop.
  bool DevicePixels() const;
  void SyncForm();
  void CreateControls();
  void CreateTimers();

  Form& form_;
  FormEvents events_{form_};
  QEventLoop* modal_loop_ = nullptr;
  bool unloaded_ = false;
  std::vector<std::unique_ptr<QTimer>> timers_;
  std::map<const Control*, QWidget*> views_;
};

}  // namespace trelvin
