// What both implementations of Dialogs share.
#include "dialogs.h"

QString qtFilter(const std::pair<QString, QString>& filter) {
  return filter.first + QStringLiteral(" (") + filter.second + QStringLiteral(")");
}
