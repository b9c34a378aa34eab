// Page "Диалог": the target frame and the consultation's texts.  The target
// is free text: any typed name is stored, listed or not.
#include "edit_form.h"

#include "editor_texts.h"
#include "field_text.h"

#include <QFormLayout>
#include <QVBoxLayout>

using field::Q;

QWidget* TEditForm::buildDialogPage() {
  TabSheet1 = new QWidget;
  TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
  Target = new QComboBox(TabSheet1);
  Target->setObjectName(QStringLiteral("Target"));
  Target->setEditable(true);
  Target->setInsertPolicy(QComboBox::NoInsert);
  Target->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);

  auto* settings = new QGroupBox(Q(edtext::kEngineSettings), TabSheet1);
  Invitation = new QLineEdit(settings);
  Invitation->setObjectName(QStringLiteral("Invitation"));
  dSuccessMsg = new QLineEdit(settings);
  dSuccessMsg->setObjectName(QStringLiteral("dSuccessMsg"));
  dFailMsg = new QLineEdit(settings);
  dFailMsg->setObjectName(QStringLiteral("dFailMsg"));
  CheckBox1 = new QCheckBox(Q(edtext::kAutoReport), settings);
  CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
  CheckBox1->setChecked(true);
  auto* box = new QVBoxLayout(settings);
  box->addWidget(new QLabel(Q(edtext::kInvitation), settings));
  box->addWidget(Invitation);
  box->addWidget(new QLabel(Q(edtext::kDialogSuccess), settings));
  box->addWidget(dSuccessMsg);
  box->addWidget(new QLabel(Q(edtext::kDialogFail), settings));
  box->addWidget(dFailMsg);
  box->addWidget(CheckBox1);

  auto* layout = new QVBoxLayout(TabSheet1);
  layout->addWidget(new QLabel(Q(edtext::kTarget), TabSheet1));
  layout->addWidget(Target);
  layout->addWidget(settings);
  layout->addStretch(1);
  return TabSheet1;
}

void TEditForm::connectDialog() {
  connect(Target, &QComboBox::currentTextChanged, this, &TEditForm::TargetChange);
  connect(Invitation, &QLineEdit::textChanged, this, &TEditForm::InvitationChange);
  connect(dSuccessMsg, &QLineEdit::textChanged, this, &TEditForm::dSuccessMsgChange);
  connect(dFailMsg, &QLineEdit::textChanged, this, &TEditForm::dFailMsgChange);
  connect(CheckBox1, &QCheckBox::toggled, this, &TEditForm::CheckBox1Click);
}

// QueryKB follows the box even while the editor fills it.
void TEditForm::TargetChange() {
  if (!Editing) {
    kb().Modified = true;
    kb().TargetFrame = field::Stored(Target->lineEdit());
  }
  emit targetChanged(!Target->currentText().isEmpty());
}

void TEditForm::InvitationChange() {
  if (Editing) return;
  kb().Modified = true;
  kb().Invitation = field::Stored(Invitation);
}

void TEditForm::dSuccessMsgChange() {
  if (Editing) return;
  kb().Modified = true;
  kb().SuccessMsg = field::Stored(dSuccessMsg);
}

void TEditForm::dFailMsgChange() {
  if (Editing) return;
  kb().Modified = true;
  kb().FailMsg = field::Stored(dFailMsg);
}

void TEditForm::CheckBox1Click() {
  if (Editing) return;
  kb().Modified = true;
  kb().AutoReport = CheckBox1->isChecked();
}
