// Tproj: the project window.  A project is a database list file ("*.vqr",
// one database file name a line); the window shows the frames SAVE would
// write, under the database file each goes to.  "&Open..." loads a
// project (RESTORE from that list file), "&Save..." saves every database
// and writes the project file as the list (SAVE with that list file), and
// "&New project" restores the standard database and starts an unnamed
// project.  The list file is switched only for that one run; the runner
// must evaluate synchronously.
#pragma once

#include <QWidget>
#include <string>

#include "browser_link.h"

class Dialogs;
class QLabel;
class QPushButton;
class QTreeWidget;

class Tproj : public QWidget {
  Q_OBJECT

 public:
  Tproj(velloq_windows::LispRunner& runner, Dialogs& dialogs, QWidget* parent);

  // The project file, empty for the unnamed project.
  const QString& projectFile() const { return file_; }
  // Reads the frames and their databases again; nothing while busy.
  void refresh();

  QLabel* ProjectLabel;
  QTreeWidget* ProjectTree;
  QPushButton* OpenButton;
  QPushButton* SaveButton;
  QPushButton* NewButton;

 public slots:
  void LoadProjectClick();
  void SaveProjectClick();
  void NewProjectClick();

 private:
  // Runs text with the database list file set to `listFile` meanwhile.
  void runWithListFile(const QString& listFile, const std::string& text);

  velloq_windows::LispRunner& runner_;
  Dialogs& dialogs_;
  QString file_;
};
