// TForm2: the "Результаты синтеза" window with the result tree Synt.
#pragma once

#include <QDialog>
#include <QPushButton>
#include <QTreeWidget>

class TForm2 : public QDialog {
  Q_OBJECT

 public:
  explicit TForm2(QWidget* parent = nullptr);

  // Fully expands, or collapses, every top-level node and all below it.
  void Button2Click();
  void Button3Click();
  // Closes the window with the result OK.
  void Button1Click();

  QTreeWidget* Synt;
  QPushButton* Button1;
  QPushButton* Button2;
  QPushButton* Button3;
};
