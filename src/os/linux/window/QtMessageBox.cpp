#include "os/linux/window/QtMessageBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace trelvin {

namespace {

QWidget* Owner() {
  if (QWidget* active = QApplication::activeWindow()) return active;
  // Without focus (for example right after the window came up) the topmost shown window.
  const QWidgetList windows = QApplication::topLevelWidgets();
  for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
    if ((*it)->isVisible() && (*it)->isWindow()) return *it;
  }
  return nullptr;
}

QMessageBox::Icon IconOf(int style) {
  switch (style & kMbIconMask) {
    case kMbIconCritical:
      return QMessageBox::Critical;
    case kMbIconQuestion:
      return QMessageBox::Question;
    case kMbIconExclamation:
      return QMessageBox::Warning;
    case kMbIconInformation:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

}  // namespace

int QtMessageBox::MsgBox(const std::string& text, int style, const std::string& caption) {
  // A line break is CR LF in the program's texts; the label wants a plain LF.
  QString shown = QString::fromStdString(text);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  QMessageBox box(IconOf(style), QString::fromStdString(caption), shown, QMessageBox::NoButton,
                  Owner());
  // File names are shown as they are, never read as markup.
  box.setTextFormat(Qt::PlainText);
  box.setWindowModality(Qt::ApplicationModal);
  const bool yes_no = (style & kMbButtonsMask) == kMbYesNo;
  QAbstractButton* first = nullptr;
  QAbstractButton* second = nullptr;
  if (yes_no) {
    first = box.addButton(QMessageBox::Yes);
    second = box.addButton(QMessageBox::No);
    box.setEscapeButton(second);
  } else {
    first = box.addButton(QMessageBox::Ok);
    box.setEscapeButton(first);
  }
  const bool second_default = (style & kMbDefButtonMask) == kMbDefButton2 && second;
  box.setDefaultButton(static_cast<QPushButton*>(second_default ? second : first));
  box.exec();
  QAbstractButton* pressed = box.clickedButton();
  if (yes_no) return pressed == first ? kIdYes : kIdNo;
  return kIdOk;
}

}  // namespace trelvin
