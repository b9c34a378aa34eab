// TNewPropForm: the new-property dialog of the frame viewer: a slot name
// and, optionally, a Lisp expression for its first value.
#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

class TNewPropForm : public QDialog {
  Q_OBJECT

 public:
  TNewPropForm(const QString& frame, QWidget* parent = nullptr);

  QLineEdit* NameEdit;
  QLineEdit* ValueEdit;
  QPushButton* OkButton;
  QPushButton* CancelButton;

 private slots:
  void NameEditChanged(const QString& text);
};
