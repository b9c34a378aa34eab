// THierarchy: the frame tree and its commands.
#include "hierarchy_window.h"

#include <QDropEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QSet>
#include <functional>
#include <QMenu>
#include <QVBoxLayout>

#include "dialogs.h"
#include "frame_inspect.h"
#include "lisp_commands.h"
#include "qt_text.h"

namespace {

const int kNameRole = Qt::UserRole;           // the frame name, Windows-1251 bytes
const int kPopulatedRole = Qt::UserRole + 1;  // the children have been read

// What QTreeWidget puts into the drag of its nodes.
const QString kNodeFormat = QStringLiteral("application/x-qabstractitemmodeldatalist");

QByteArray key(const std::string& name) { return QByteArray(name.data(), qsizetype(name.size())); }

}  // namespace

HierarchyTree::HierarchyTree(QWidget* parent) : QTreeWidget(parent) {
  setHeaderHidden(true);
  setDragEnabled(true);
  setAcceptDrops(true);
  setDropIndicatorShown(true);
  setDragDropMode(QAbstractItemView::DragDrop);
  setDefaultDropAction(Qt::MoveAction);
  setContextMenuPolicy(Qt::CustomContextMenu);
}

// Drags of this tree's own nodes are taken (the node's frame is re-parented).
void HierarchyTree::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasFormat(kNodeFormat)) event->acceptProposedAction();
  else event->ignore();
}

void HierarchyTree::dragMoveEvent(QDragMoveEvent* event) {
  if (event->mimeData()->hasFormat(kNodeFormat) && itemAt(event->position().toPoint()))
    event->acceptProposedAction();
  else
    event->ignore();
}

// The dragged node is the current one (a drag starts on it); the tree is
// changed by the notifications of the re-parenting, not by the drop.
void HierarchyTree::dropEvent(QDropEvent* event) {
  QTreeWidgetItem* target = itemAt(event->position().toPoint());
  QTreeWidgetItem* dragged = currentItem();
  event->setDropAction(Qt::IgnoreAction);
  event->accept();
  if (target && dragged && target != dragged) emit frameDropped(dragged, target);
}

THierarchy::THierarchy(velloq_windows::LispRunner& runner, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), runner_(runner), dialogs_(dialogs) {
  setWindowTitle(tr("Hierarchy"));
  Tree = new HierarchyTree(this);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(Tree);
  resize(300, 480);
  connect(Tree, &QTreeWidget::itemExpanded, this, &THierarchy::TreeExpanded);
  connect(Tree, &QTreeWidget::itemDoubleClicked, this, &THierarchy::TreeDoubleClicked);
  connect(Tree, &QWidget::customContextMenuRequested, this, &THierarchy::TreeContextMenu);
  connect(Tree, &HierarchyTree::frameDropped, this, &THierarchy::ReparentDrop);
  refresh();
}

std::string THierarchy::frameOf(const QTreeWidgetItem* item) {
  const QByteArray b = item->data(0, kNameRole).toByteArray();
  return std::string(b.constData(), size_t(b.size()));
}

QList<QTreeWidgetItem*> THierarchy::itemsNamed(const std::string& name) const {
  return byName_.value(key(name));
}

// ---- building the tree ----

// A node for the frame, entered in the name index but not yet in the tree.
QTreeWidgetItem* THierarchy::makeNode(const std::string& name, bool hasChildren) {
  auto* item = new QTreeWidgetItem;
  item->setText(0, cp1251::toQString(name));
  item->setData(0, kNameRole, key(name));
  item->setChildIndicatorPolicy(hasChildren ? QTreeWidgetItem::ShowIndicator
                                            : QTreeWidgetItem::DontShowIndicatorWhenChildless);
  byName_[key(name)].append(item);
  return item;
}

// Puts a node the notifications bring at its place among sorted siblings.
void THierarchy::insertSorted(QTreeWidgetItem* parent, QTreeWidgetItem* child) {
  int low = 0, high = parent->childCount();
  while (low < high) {
    const int mid = (low + high) / 2;
    if (QString::compare(parent->child(mid)->text(0), child->text(0), Qt::CaseInsensitive) <= 0)
      low = mid + 1;
    else
      high = mid;
  }
  parent->insertChild(low, child);
}

void THierarchy::populate(QTreeWidgetItem* item) {
  if (item->data(0, kPopulatedRole).toBool() || runner_.busy()) return;
  item->setData(0, kPopulatedRole, true);
  const std::string name = frameOf(item);
  QList<QTreeWidgetItem*> children;
  for (const std::string& c : velloq::frame_child_names(name))
    children.append(makeNode(c, velloq::frame_has_children(c)));
  item->addChildren(children);  // one insertion for thousands of children
  item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
}

// Takes item and its subtree out of the name index.
void THierarchy::forget(QTreeWidgetItem* item) {
  for (int i = 0; i < item->childCount(); ++i) forget(item->child(i));
  auto it = byName_.find(item->data(0, kNameRole).toByteArray());
  if (it != byName_.end()) {
    it->removeOne(item);
    if (it->isEmpty()) byName_.erase(it);
  }
}

void THierarchy::dropNode(QTreeWidgetItem* item) {
  forget(item);
  delete item;
}

void THierarchy::refresh() {
  if (runner_.busy()) return;
  // Paths of the expanded nodes and of the current one, as name lists.
  QSet<QStringList> expanded;
  QStringList current;
  std::function<void(QTreeWidgetItem*, QStringList)> note = [&](QTreeWidgetItem* it,
                                                                QStringList path) {
    path.append(it->text(0));
    if (it == Tree->currentItem()) current = path;
    if (!it->isExpanded()) return;
    expanded.insert(path);
    for (int i = 0; i < it->childCount(); ++i) note(it->child(i), path);
  };
  for (int i = 0; i < Tree->topLevelItemCount(); ++i) note(Tree->topLevelItem(i), {});
  const bool first = Tree->topLevelItemCount() == 0;
  const int scroll = Tree->verticalScrollBar()->value();

  Tree->setUpdatesEnabled(false);
  Tree->clear();
  byName_.clear();
  if (velloq::frame_exists("NODE")) {
    QTreeWidgetItem* root = makeNode("NODE", velloq::frame_has_children("NODE"));
    Tree->addTopLevelItem(root);
    std::function<void(QTreeWidgetItem*, QStringList)> restore = [&](QTreeWidgetItem* it,
                                                                     QStringList path) {
      path.append(it->text(0));
      if (path == current) Tree->setCurrentItem(it);
      if (!expanded.contains(path)) return;
      populate(it);
      it->setExpanded(true);
      for (int i = 0; i < it->childCount(); ++i) restore(it->child(i), path);
    };
    if (first) expanded.insert({root->text(0)});
    restore(root, {});
  }
  Tree->doItemsLayout();  // the scroll range, before the old position is put back
  Tree->verticalScrollBar()->setValue(scroll);
  Tree->setUpdatesEnabled(true);
}

// ---- following the notifications ----

void THierarchy::frameAdded(const QString& name) {
  // A new frame is a child of FRAME.
  const std::string n = cp1251::fromQString(name);
  for (QTreeWidgetItem* f : itemsNamed("FRAME")) {
    if (!f->data(0, kPopulatedRole).toBool()) {
      f->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
      continue;
    }
    bool present = false;
    for (QTreeWidgetItem* it : itemsNamed(n)) present = present || it->parent() == f;
    if (present) continue;
    insertSorted(f, makeNode(n, false));
  }
}

void THierarchy::frameRemoved(const QString& name) {
  for (QTreeWidgetItem* item : itemsNamed(cp1251::fromQString(name))) dropNode(item);
}

void THierarchy::parentChanged(const QString& name, const QString& parent) {
  // Set-inheritance leaves every old parent for the one new parent.
  const std::string n = cp1251::fromQString(name);
  for (QTreeWidgetItem* item : itemsNamed(n))
    if (item->parent()) dropNode(item);
  for (QTreeWidgetItem* p : itemsNamed(cp1251::fromQString(parent))) {
    if (!p->data(0, kPopulatedRole).toBool()) {
      p->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
      continue;
    }
    insertSorted(p, makeNode(n, true));
  }
}

// ---- the user's commands ----

void THierarchy::TreeExpanded(QTreeWidgetItem* item) { populate(item); }

void THierarchy::TreeDoubleClicked(QTreeWidgetItem* item, int) {
  if (item) emit openFrame(cp1251::toQString(frameOf(item)));
}

bool THierarchy::isSystemFrame(const std::string& name) const {
  return velloq::frame_is_system(name);
}

void THierarchy::TreeContextMenu(const QPoint& pos) {
  QTreeWidgetItem* item = Tree->itemAt(pos);
  if (!item || runner_.busy()) return;
  Tree->setCurrentItem(item);
  QMenu menu(this);
  QAction* open = menu.addAction(tr("&Open frame viewer"));
  QAction* add = menu.addAction(tr("&Add child frame"));
  QAction* del = menu.addAction(tr("&Delete frame"));
  del->setEnabled(!isSystemFrame(frameOf(item)));
  QAction* chosen = menu.exec(Tree->viewport()->mapToGlobal(pos));
  if (chosen == open) TreeDoubleClicked(item, 0);
  else if (chosen == add) AddChildClick(item);
  else if (chosen == del) DeleteFrameClick(item);
}

void THierarchy::AddChildClick(QTreeWidgetItem* item) {
  if (!item || runner_.busy()) return;
  runner_.run_lisp(velloq_browser::addChildText(frameOf(item)));
}

void THierarchy::DeleteFrameClick(QTreeWidgetItem* item) {
  if (!item || runner_.busy()) return;
  const std::string name = frameOf(item);
  if (isSystemFrame(name)) return;
  const std::vector<std::string> doomed = velloq::frame_subtree_for_deletion(name);
  if (doomed.empty()) return;
  QString text = tr("Delete the frame %1?").arg(cp1251::toQString(name));
  if (doomed.size() > 1)
    text = tr("Delete the frame %1 and %n frame(s) below it?", nullptr, int(doomed.size() - 1))
               .arg(cp1251::toQString(name));
  if (dialogs_.askWarning(this, tr("Delete frame"), text, false) != Dialogs::Reply::Yes) return;
  runner_.run_lisp(velloq_browser::deleteFramesText(doomed));
}

void THierarchy::ReparentDrop(QTreeWidgetItem* dragged, QTreeWidgetItem* target) {
  if (!dragged || !target || runner_.busy()) return;
  const std::string frame = frameOf(dragged), parent = frameOf(target);
  if (frame == parent || isSystemFrame(frame)) return;
  runner_.run_lisp(velloq_browser::setParentsText(frame, parent));
}
