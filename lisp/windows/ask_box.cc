#include "ask_box.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

TAskBox::TAskBox(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("AskBox"));
  setWindowTitle(QStringLiteral("Ask MessageBox"));
  Panel1 = new QLabel(this);
  Panel1->setFrameShape(QFrame::Panel);
  Panel1->setFrameShadow(QFrame::Raised);
  Panel1->setWordWrap(true);
  Panel1->setAlignment(Qt::AlignCenter);
  Panel1->setMinimumHeight(40);
  Memo1 = new QPlainTextEdit(this);
  Memo1->setObjectName(QStringLiteral("Memo1"));
  OkButton = new QPushButton(QStringLiteral("&Ok"), this);
  CancelButton = new QPushButton(QStringLiteral("&Cancel"), this);
  connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(OkButton);
  buttons->addWidget(CancelButton);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Panel1);
  layout->addWidget(Memo1, 1);
  layout->addLayout(buttons);
  resize(360, 220);
}

void TAskBox::setQuestion(const QString& question) {
  Panel1->setText(question);
  Memo1->clear();
  Memo1->setFocus();
}
