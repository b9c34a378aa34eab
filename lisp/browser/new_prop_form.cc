// TNewPropForm: name and first value of a new slot.
#include "new_prop_form.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TNewPropForm::TNewPropForm(const QString& frame, QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("New property of %1").arg(frame));
  NameEdit = new QLineEdit(this);
  ValueEdit = new QLineEdit(this);
  ValueEdit->setPlaceholderText(tr("NIL"));
  OkButton = new QPushButton(tr("&Ok"), this);
  CancelButton = new QPushButton(tr("&Cancel"), this);
  OkButton->setDefault(true);
  OkButton->setEnabled(false);

  auto* form = new QFormLayout;
  form->addRow(tr("Slot &name:"), NameEdit);
  form->addRow(tr("&Value (a Lisp expression):"), ValueEdit);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(OkButton);
  buttons->addWidget(CancelButton);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addLayout(buttons);

  connect(NameEdit, &QLineEdit::textChanged, this, &TNewPropForm::NameEditChanged);
  connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

// A slot needs a name.
void TNewPropForm::NameEditChanged(const QString& text) {
  OkButton->setEnabled(!text.trimmed().isEmpty());
}
