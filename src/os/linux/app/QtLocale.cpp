#include "os/linux/app/QtLocale.h"

#include <QLocale>

namespace trelvin {

std::string QtLocale::DecimalSeparator() { return QLocale::system().decimalPoint().toStdString(); }

}  // namespace trelvin
