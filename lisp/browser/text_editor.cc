// TForm2: the Lisp text editor dialog.
#include "text_editor.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QVBoxLayout>

#include "paren_match.h"

TForm2::TForm2(const QString& caption, const QString& prompt, const QString& text,
               QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(caption);
  PromptLabel = new QLabel(prompt, this);
  Memo1 = new QPlainTextEdit(this);
  QFont mono(QStringLiteral("DejaVu Sans Mono"));
  mono.setStyleHint(QFont::Monospace);
  Memo1->setFont(mono);
  Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
  Memo1->setTabChangesFocus(false);
  Memo1->setPlainText(text);
  OkButton = new QPushButton(tr("&Ok"), this);
  CancelButton = new QPushButton(tr("&Cancel"), this);
  OkButton->setDefault(false);
  OkButton->setAutoDefault(false);  // Enter in the editor makes a new line
  CancelButton->setAutoDefault(false);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(OkButton);
  buttons->addWidget(CancelButton);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(PromptLabel);
  layout->addWidget(Memo1, 1);
  layout->addLayout(buttons);
  resize(520, 320);

  connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
  connect(Memo1, &QPlainTextEdit::cursorPositionChanged, this, &TForm2::Memo1CursorMoved);
  Memo1->moveCursor(QTextCursor::End);
  Memo1CursorMoved();
}

QString TForm2::text() const { return Memo1->toPlainText(); }

// Highlights the parenthesis just before the cursor, or the one at it, with
// its partner.
void TForm2::Memo1CursorMoved() {
  const QString all = Memo1->toPlainText();
  const int cursor = Memo1->textCursor().position();
  pair_ = {-1, -1};
  for (int at : {cursor - 1, cursor}) {
    if (at < 0 || at >= all.size() || (all[at] != u'(' && all[at] != u')')) continue;
    const int partner = velloq_browser::matchingParen(all, at);
    if (partner >= 0) {
      pair_ = {std::min(at, partner), std::max(at, partner)};
      break;
    }
  }
  QList<QTextEdit::ExtraSelection> marks;
  if (pair_.first >= 0) {
    for (int at : {pair_.first, pair_.second}) {
      QTextEdit::ExtraSelection mark;
      mark.format.setBackground(QColor(255, 220, 120));
      mark.cursor = QTextCursor(Memo1->document());
      mark.cursor.setPosition(at);
      mark.cursor.setPosition(at + 1, QTextCursor::KeepAnchor);
      marks.append(mark);
    }
  }
  Memo1->setExtraSelections(marks);
}
