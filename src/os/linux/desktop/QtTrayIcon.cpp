#include "os/linux/desktop/QtTrayIcon.h"

#include <QApplication>
#include <QIcon>
#include <QMenu>
#include <QPixmap>
#include <QSystemTrayIcon>

namespace trelvin {

namespace {

// The window's icon while capturing; greyed while paused, so the two tell apart at a glance.
QIcon StateIcon(bool paused) {
  const QIcon icon = QApplication::windowIcon();
  if (!paused) return icon;
  QIcon greyed;
  for (int side : {16, 32}) greyed.addPixmap(icon.pixmap(side, side, QIcon::Disabled));
  return greyed;
}

}  // namespace

QtTrayIcon::QtTrayIcon() = default;

// The icon goes before its menu, which it refers to.
QtTrayIcon::~QtTrayIcon() {
  icon_.reset();
  menu_.reset();
}

bool QtTrayIcon::Show(const TrayIconState& state) {
  if (!icon_) {
    if (!QSystemTrayIcon::isSystemTrayAvailable()) return false;
    menu_ = std::make_unique<QMenu>();
    icon_ = std::make_unique<QSystemTrayIcon>();
    icon_->setContextMenu(menu_.get());
  }
  SetMenu(state.menu);
  icon_->setIcon(StateIcon(state.paused));
  icon_->setToolTip(QString::fromStdString(state.tooltip));
  icon_->show();
  return true;
}

void QtTrayIcon::Hide() {
  // Deleted, not hidden: the StatusNotifierItem leaves the bus with it.
  icon_.reset();
  menu_.reset();
  actions_.clear();
}

// The menu's entries are changed in place, so a menu the user has open stays open.
void QtTrayIcon::SetMenu(const std::vector<TrayMenuItem>& items) {
  if (actions_.size() != items.size()) {
    menu_->clear();
    actions_.clear();
    for (const TrayMenuItem& item : items) {
      QAction* action = menu_->addAction(QString());
      const TrayCommand command = item.command;
      // Queued: Stop deletes this menu, which must not happen while it is sending the signal.
      QObject::connect(
          action, &QAction::triggered, menu_.get(),
          [this, command] {
            if (on_command) on_command(command);
          },
          Qt::QueuedConnection);
      actions_.push_back(action);
    }
  }
  for (std::size_t i = 0; i < items.size(); ++i) {
    QAction* action = actions_[i];
    action->setText(QString::fromStdString(items[i].text));
    action->setEnabled(items[i].enabled);
    action->setCheckable(items[i].checkable);
    action->setChecked(items[i].checked);
  }
}

}  // namespace trelvin
