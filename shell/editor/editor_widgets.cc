// ReportList and LabelDelegate.
#include "editor_widgets.h"

#include <QLineEdit>
#include <QTimer>

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
