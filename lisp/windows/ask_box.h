// TAskBox: the prompt dialog of ASKBOX.  The question stands in the caption
// panel, the answer is typed into Memo1 (several lines allowed).
#pragma once

#include <QDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

class TAskBox : public QDialog {
  Q_OBJECT

 public:
  explicit TAskBox(QWidget* parent = nullptr);

  // Puts the question in the caption panel and empties the answer.
  void setQuestion(const QString& question);
  // The text of the answer area, line breaks included.
  QString answer() const { return Memo1->toPlainText(); }

  QLabel* Panel1;
  QPlainTextEdit* Memo1;
  QPushButton* OkButton;
  QPushButton* CancelButton;
};
