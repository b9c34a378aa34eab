// TForm2: the plain-text Lisp editor the frame viewer edits values and
// methods in.  A parenthesis next to the cursor and its partner are
// highlighted as the cursor moves; "&Ok" accepts, "&Cancel" drops the
// changes.  The caller shows it through Dialogs::runModal.
#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

class TForm2 : public QDialog {
  Q_OBJECT

 public:
  TForm2(const QString& caption, const QString& prompt, const QString& text,
         QWidget* parent = nullptr);

  QString text() const;
  // The positions highlighted as a matching pair, or (-1, -1).
  QPair<int, int> highlightedPair() const { return pair_; }

  QLabel* PromptLabel;
  QPlainTextEdit* Memo1;
  QPushButton* OkButton;
  QPushButton* CancelButton;

 private slots:
  void Memo1CursorMoved();

 private:
  QPair<int, int> pair_{-1, -1};
};
