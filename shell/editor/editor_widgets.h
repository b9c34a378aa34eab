// Two controls of the editor that need more than the toolkit's own: the
// report list that tells about every mouse press after it has selected the
// row, and the tree's label editing that hands the typed label to the
// editor instead of storing it.
#pragma once

#include <QPersistentModelIndex>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <functional>

// A QTreeWidget whose onMouseDown runs after each mouse press (any button)
// has been handled, so the pressed row is already selected.
class ReportList : public QTreeWidget {
 public:
  using QTreeWidget::QTreeWidget;
  std::function<void()> onMouseDown;

 protected:
  void mousePressEvent(QMouseEvent* event) override;
};

// Label editing of a tree: the typed text goes to onEdited once the editor
// has closed (so a message shown then cannot end the editing twice); the
// label itself changes only when the receiver sets it.
class LabelDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  std::function<void(const QPersistentModelIndex& node, const QString& text)> onEdited;

  void setModelData(QWidget* editor, QAbstractItemModel* model,
                    const QModelIndex& index) const override;
};
