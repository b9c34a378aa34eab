// The editor's two image lists, drawn at run time: frames (0 prototype,
// 1 sample) and slots (0 plain, 1 value list).  A frame node keeps its
// image index itself (FrameNode); a slot row keeps it in kImageRole.
#pragma once

#include <QIcon>

class QTreeWidgetItem;

namespace icons {

inline constexpr int kImageRole = Qt::UserRole + 1;

QIcon Frame(int image);
QIcon Slot(int image);

// Gives a frame node or a slot row its image; the index can be read back.
void SetFrameImage(QTreeWidgetItem* node, int image);
void SetSlotImage(QTreeWidgetItem* row, int image);
int ImageOf(const QTreeWidgetItem* node);

}  // namespace icons
