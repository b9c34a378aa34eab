// TFrameView: one frame as a frame-language user reads it: its name,
// parents and children (links that open their viewers), its own slots and
// the inherited ones (greyed, with the frame they come from), values as
// the printer prints them, methods with their parameter lists.  Values and
// methods are edited in the text editor dialog, slots added with the
// new-property dialog and deleted after a confirmation; every change runs
// as Lisp text.  The viewer reads the frame again at each end-busy.
#pragma once

#include <QWidget>
#include <string>

#include "browser_link.h"
#include "frame_inspect.h"

class Dialogs;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

class TFrameView : public QWidget {
  Q_OBJECT

 public:
  enum Column { SlotColumn, ValueColumn, MethodColumn, FromColumn };

  TFrameView(velloq_windows::LispRunner& runner, Dialogs& dialogs, const std::string& frame,
             QWidget* parent);

  const std::string& frame() const { return frame_; }
  // Shows another frame (the name typed in FrameEdit).
  void showFrame(const std::string& frame);
  // Reads the frame again; nothing while an evaluation runs.
  void refresh();
  // The row of a slot by name (own slots first), or null.
  QTreeWidgetItem* slotRow(const std::string& slot) const;

  QLineEdit* FrameEdit;
  QLabel* ParentsLabel;
  QLabel* ChildrenLabel;
  QTreeWidget* SlotList;
  QPushButton* NewSlotButton;
  QPushButton* EditValueButton;
  QPushButton* EditMethodButton;
  QPushButton* DeleteSlotButton;

 public slots:
  void NewSlotClick();
  void EditValueClick();
  void EditMethodClick();
  void DeleteSlotClick();

 signals:
  void openFrame(const QString& name);

 private slots:
  void FrameEditReturn();
  void SlotListDoubleClicked(QTreeWidgetItem* item, int column);
  void SlotListCurrentChanged();

 private:
  // The inspected slot a row shows, or null.
  const velloq::InspectedSlot* slotOf(const QTreeWidgetItem* item) const;
  QString links(const std::vector<std::string>& names) const;

  velloq_windows::LispRunner& runner_;
  Dialogs& dialogs_;
  std::string frame_;
  bool exists_ = false;
  std::vector<velloq::InspectedSlot> slots_;  // the rows, in order
};
