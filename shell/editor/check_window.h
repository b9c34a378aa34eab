// TCheckForm: the findings of the knowledge base checker for the editor's
// "Проверка" command, one line each as the console prints them, with their
// count.  It only reads the base.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

// The checker's header names a member "slots", which Qt's keyword macro
// would swallow; only the source file includes it, ahead of Qt.
namespace norvix {
class AKBase;
}

class TCheckForm : public QDialog {
  Q_OBJECT

 public:
  // Runs the checker over `kb` and lists what it found.
  explicit TCheckForm(const norvix::AKBase& kb, QWidget* parent = nullptr);

  QListWidget* Findings;  // "[kind] text", in the checker's order
  QLabel* Summary;        // "Замечаний нет." or "Замечаний: N"
  QPushButton* Button1;
};
