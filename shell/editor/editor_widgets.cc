// ReportList and LabelDelegate.
#include "editor_widgets.h"

#include "editor_icons.h"

#include <QLineEdit>
#include <QTimer>

FrameNode::FrameNode(const QString& name, int image)
    : QTreeWidgetItem(QStringList{name}, Type), image_(image) {
  setFlags(flags() | Qt::ItemIsEditable);
}

void FrameNode::setImage(int image) {
  image_ = image;
  emitDataChanged();
}

QVariant FrameNode::data(int column, int role) const {
  if (column == 0 && role == Qt::DecorationRole) return icons::Frame(image_);
  return QTreeWidgetItem::data(column, role);
}

void ReportList::mousePressEvent(QMouseEvent* event) {
  QTreeWidget::mousePressEvent(event);
  if (onMouseDown) onMouseDown();
}

void LabelDelegate::setModelData(QWidget* editor, QAbstractItemModel*,
                                 const QModelIndex& index) const {
  auto* line = qobject_cast<QLineEdit*>(editor);
  if (!line || !onEdited) return;
  QPersistentModelIndex node(index);
  QString text = line->text();
  auto receiver = onEdited;
  QTimer::singleShot(0, this, [receiver, node, text] {
    if (node.isValid()) receiver(node, text);
  });
}
