// Two controls of the editor that need more than the toolkit's own: the
// report list that tells about every mouse press after it has selected the
// row, and the tree's label editing that hands the typed label to the
// editor instead of storing it.
#pragma once

#include <QPersistentModelIndex>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <functional>

// Gives a control its name, by which the form and the tests find it.
template <class Widget>
Widget* named(Widget* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

// A node of the prototype tree: its text is the frame's name, its image
// tells a prototype (0) from a sample (1).  The image is kept as a number
// and drawn from the one shared picture, so a large tree costs little.
class FrameNode : public QTreeWidgetItem {
 public:
  static constexpr int Type = QTreeWidgetItem::UserType + 1;
  FrameNode(const QString& name, int image);

  int image() const { return image_; }
  void setImage(int image);
  QVariant data(int column, int role) const override;

 private:
  int image_;
};

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
