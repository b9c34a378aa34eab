// Sorted lists and boxes of the editor.
#include "sorted_lists.h"

#include <QComboBox>
#include <QHash>
#include <QListWidget>
#include <QSignalBlocker>
#include <algorithm>
#include <utility>
#include <vector>

namespace sorted {

namespace {

// What a box shows, put back after its entries changed.
struct Shown {
  explicit Shown(QComboBox* box) : box(box), index(box->currentIndex()), text(box->currentText()) {}
  void restore(int newIndex) {
    box->setCurrentIndex(newIndex);
    if (box->isEditable()) box->setEditText(text);
  }
  QComboBox* box;
  int index;
  QString text;
};

// First position whose entry does not sort before `text`.
template <class TextAt>
int lowerBound(int count, const QString& text, TextAt textAt) {
  int lo = 0, hi = count;
  while (lo < hi) {
    int mid = (lo + hi) / 2;
    if (lessNoCase(textAt(mid), text))
      lo = mid + 1;
    else
      hi = mid;
  }
  return lo;
}

}  // namespace

bool lessNoCase(const QString& a, const QString& b) {
  int c = QString::compare(a, b, Qt::CaseInsensitive);
  return c != 0 ? c < 0 : a < b;
}

int find(const QListWidget* list, const QString& text) {
  const QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchFixedString);
  int best = -1;
  for (const QListWidgetItem* item : found) {
    int row = list->row(item);
    if (best < 0 || row < best) best = row;
  }
  return best;
}

int find(const QComboBox* box, const QString& text) {
  return box->findText(text, Qt::MatchFixedString);
}

int insert(QListWidget* list, const QString& text) {
  QSignalBlocker block(list);
  int at = lowerBound(list->count(), text, [list](int i) { return list->item(i)->text(); });
  list->insertItem(at, text);
  return at;
}

int insert(QComboBox* box, const QString& text) {
  QSignalBlocker block(box);
  Shown shown(box);
  int at = lowerBound(box->count(), text, [box](int i) { return box->itemText(i); });
  box->insertItem(at, text);
  shown.restore(shown.index >= at ? shown.index + 1 : shown.index);
  return at;
}

// Sorts by the case-folded text, each folded once: a large box fills
// quickly.
static void sortNoCase(QStringList& names) {
  std::vector<std::pair<QString, QString>> keyed;
  keyed.reserve(static_cast<size_t>(names.size()));
  for (QString& name : names) keyed.emplace_back(name.toCaseFolded(), std::move(name));
  std::sort(keyed.begin(), keyed.end());
  names.clear();
  for (auto& [folded, name] : keyed) names << std::move(name);
}

void fill(QListWidget* list, QStringList names) {
  QSignalBlocker block(list);
  sortNoCase(names);
  list->clear();
  list->addItems(names);
  list->setCurrentRow(-1);
}

void fill(QComboBox* box, QStringList names) {
  QSignalBlocker block(box);
  Shown shown(box);
  sortNoCase(names);
  box->clear();
  box->addItems(names);
  shown.restore(-1);
}

void remove(QListWidget* list, int index) {
  QSignalBlocker block(list);
  const bool wasCurrent = list->currentRow() == index;
  delete list->takeItem(index);
  if (wasCurrent) list->setCurrentRow(-1);
}

void remove(QComboBox* box, int index) {
  QSignalBlocker block(box);
  Shown shown(box);
  box->removeItem(index);
  int now = shown.index == index ? -1 : shown.index > index ? shown.index - 1 : shown.index;
  shown.restore(now);
}

void removeEach(QComboBox* box, const QStringList& names) {
  QHash<QString, int> pending;
  for (const QString& name : names) ++pending[name.toCaseFolded()];
  QStringList kept;
  kept.reserve(box->count());
  int chosen = -1;
  bool removed = false;
  for (int i = 0; i < box->count(); ++i) {
    const QString text = box->itemText(i);
    auto it = pending.find(text.toCaseFolded());
    if (it != pending.end() && it.value() > 0) {
      --it.value();
      removed = true;
      continue;
    }
    if (i == box->currentIndex()) chosen = static_cast<int>(kept.size());
    kept << text;
  }
  if (!removed) return;
  QSignalBlocker block(box);
  Shown shown(box);
  box->clear();
  box->addItems(kept);
  shown.restore(chosen);
}

void clear(QComboBox* box) {
  QSignalBlocker block(box);
  Shown shown(box);
  box->clear();
  shown.restore(-1);
}

int selected(const QListWidget* list) {
  const QList<QListWidgetItem*> items = list->selectedItems();
  return items.isEmpty() ? -1 : list->row(items.first());
}

void select(QListWidget* list, int row) {
  QSignalBlocker block(list);
  if (row < 0) {
    list->setCurrentItem(nullptr);
    list->clearSelection();
  } else {
    list->setCurrentRow(row);
  }
}

void select(QComboBox* box, int index) {
  QSignalBlocker block(box);
  box->setCurrentIndex(index);
}

}  // namespace sorted
