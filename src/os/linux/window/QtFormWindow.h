#pragma once

#include <functional>
#include <memory>
#include <vector>

#include <QEventLoop>
#include <QTimer>
#include <QWidget>

#include "core/controls/Form.h"

class QScreen;

namespace trelvin {

// The screen's size in device pixels, whatever Qt scales its own pixels by.
QSize DeviceSize(const QScreen& screen);

// The top-level widget of one form. It creates a widget for each control, mirrors the models onto
// them, drives the form's timers and turns key, mouse and close events into the form's handlers.
class QtFormWindow : public QWidget {
  Q_OBJECT

 public:
  QtFormWindow(Form& form, QWidget* owner);
  ~QtFormWindow() override;

  Form& form() { return form_; }
  // Runs a nested event loop until the form unloads.
  void RunModal();
  // Called once the form has unloaded: ends the modal loop.
  void FormUnloaded();

 protected:
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
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
  QEventLoop* modal_loop_ = nullptr;
  bool unloaded_ = false;
  std::vector<std::unique_ptr<QTimer>> timers_;
};

}  // namespace trelvin
