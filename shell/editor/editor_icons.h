// The editor's two image lists, drawn at run time: frames (0 prototype,
// 1 sample) and slots (0 plain, 1 value list).  A node's image index is
// kept in kImageRole so that the handlers can read it back.
#pragma once

#include <QIcon>

class QTreeWidgetItem;

namespace icons {

inline constexpr int kImageRole = Qt::UserRole + 1;

QIcon Frame(int image);
QIcon Slot(int image);

// Gives a tree node (column 0) a frame or slot image and remembers its index.
void SetFrameImage(QTreeWidgetItem* node, int image);
void SetSlotImage(QTreeWidgetItem* row, int image);
int ImageOf(const QTreeWidgetItem* node);

}  // namespace icons
