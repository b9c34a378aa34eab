// THierarchy: the tree of frames from NODE down.  A frame with several
// parents appears under each.  Children are read when a node is first
// expanded; the frame notifications move nodes at once (without reading
// node memory, as they come during an evaluation) and every end-busy
// rebuilds the expanded part from the frames themselves.  Changes are made
// by running Lisp text: "Add child frame" (ADDCHILD), "Delete frame"
// (DELFRAME of the frame and the descendants that have no other parent,
// after a confirmation), re-parenting by dragging a frame onto another
// (SETPARENTS).
#pragma once

#include <QHash>
#include <QTreeWidget>
#include <QWidget>
#include <string>

#include "browser_link.h"

class Dialogs;

// The tree control: a drop re-parents instead of moving items itself.
class HierarchyTree : public QTreeWidget {
  Q_OBJECT

 public:
  explicit HierarchyTree(QWidget* parent);

 signals:
  void frameDropped(QTreeWidgetItem* dragged, QTreeWidgetItem* target);

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
};

class THierarchy : public QWidget {
  Q_OBJECT

 public:
  THierarchy(velloq_windows::LispRunner& runner, Dialogs& dialogs, QWidget* parent);

  // Rebuilds the tree from the frames, keeping the expanded nodes and the
  // current one.  Nothing while an evaluation runs.
  void refresh();
  // The nodes that show the frame (one per path from NODE).
  QList<QTreeWidgetItem*> itemsNamed(const std::string& name) const;
  // The node's frame name (Windows-1251).
  static std::string frameOf(const QTreeWidgetItem* item);

  // The context menu's commands on a node (public for the menu and tests).
  void AddChildClick(QTreeWidgetItem* item);
  void DeleteFrameClick(QTreeWidgetItem* item);
  void ReparentDrop(QTreeWidgetItem* dragged, QTreeWidgetItem* target);

  HierarchyTree* Tree;

 public slots:
  void frameAdded(const QString& name);
  void frameRemoved(const QString& name);
  void parentChanged(const QString& name, const QString& parent);

 signals:
  void openFrame(const QString& name);

 private slots:
  void TreeExpanded(QTreeWidgetItem* item);
  void TreeDoubleClicked(QTreeWidgetItem* item, int column);
  void TreeContextMenu(const QPoint& pos);

 private:
  QTreeWidgetItem* makeNode(const std::string& name, bool hasChildren);
  void insertSorted(QTreeWidgetItem* parent, QTreeWidgetItem* child);
  void populate(QTreeWidgetItem* item);
  void forget(QTreeWidgetItem* item);
  void dropNode(QTreeWidgetItem* item);
  bool isSystemFrame(const std::string& name) const;

  velloq_windows::LispRunner& runner_;
  Dialogs& dialogs_;
  QHash<QByteArray, QList<QTreeWidgetItem*>> byName_;
};
