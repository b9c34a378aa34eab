// Small pictures for the prototype tree and the sample's slot list.
#include "editor_icons.h"

#include "editor_widgets.h"

#include <QPainter>
#include <QPixmap>
#include <QTreeWidgetItem>

namespace icons {

namespace {

constexpr int kSize = 16;

// A prototype is an outlined box, a sample a filled dot; a plain slot a
// single bar, a value list three.
QIcon draw(bool frames, int image) {
  QPixmap pixmap(kSize, kSize);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  if (frames && image == 0) {
    p.setPen(QPen(QColor(0x1f, 0x4e, 0x8c), 1.5));
    p.setBrush(QColor(0xd6, 0xe4, 0xf5));
    p.drawRect(QRectF(2.5, 3.5, 11, 9));
  } else if (frames) {
    p.setPen(QPen(QColor(0x2e, 0x6b, 0x2e), 1.5));
    p.setBrush(QColor(0x8c, 0xc8, 0x8c));
    p.drawEllipse(QRectF(3.5, 3.5, 9, 9));
  } else {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x55, 0x55, 0x55));
    const int bars = image == 0 ? 1 : 3;
    for (int i = 0; i < bars; ++i) p.drawRect(QRectF(3, 4 + i * 3.5, 10, 2));
  }
  return QIcon(pixmap);
}

}  // namespace

QIcon Frame(int image) {
  static const QIcon pictures[2] = {draw(true, 0), draw(true, 1)};
  return pictures[image == 0 ? 0 : 1];
}

QIcon Slot(int image) {
  static const QIcon pictures[2] = {draw(false, 0), draw(false, 1)};
  return pictures[image == 0 ? 0 : 1];
}

void SetFrameImage(QTreeWidgetItem* node, int image) {
  if (node->type() == FrameNode::Type) static_cast<FrameNode*>(node)->setImage(image);
}

void SetSlotImage(QTreeWidgetItem* row, int image) {
  row->setIcon(0, Slot(image));
  row->setData(0, kImageRole, image);
}

int ImageOf(const QTreeWidgetItem* node) {
  if (node->type() == FrameNode::Type) return static_cast<const FrameNode*>(node)->image();
  return node->data(0, kImageRole).toInt();
}

}  // namespace icons
