// Page "Слоты": the slot definitions.  Typing in SlotName finds a listed
// definition as one types (letter case ignored) or offers to add a new one.
#include "edit_form.h"

#include "blanks.h"
#include "editor_texts.h"
#include "error_sink.h"
#include "editor_widgets.h"
#include "field_text.h"
#include "sorted_lists.h"
#include "window_texts.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

using field::Q;
using field::W;

QWidget* TEditForm::buildSlotsPage() {
  PageSlots = named(new QWidget, "PageSlots");
  AddSlot = named(new QPushButton(Q(edtext::kAdd), PageSlots), "AddSlot");
  DelSlot = named(new QPushButton(Q(edtext::kDelete), PageSlots), "DelSlot");
  AddSlot->setAutoDefault(false);
  DelSlot->setAutoDefault(false);
  SlotName = named(new QLineEdit(PageSlots), "SlotName");
  SlotList = named(new QListWidget(PageSlots), "SlotList");
  SlotList->setSelectionMode(QAbstractItemView::SingleSelection);

  SlotBox = named(new QGroupBox(PageSlots), "SlotBox");
  SlotDefLabel = new QLabel(Q(edtext::kDefinition), SlotBox);
  SlotDef = named(new QPlainTextEdit(SlotBox), "SlotDef");
  DefValue = named(new QLineEdit(Q(edtext::kNone), SlotBox), "DefValue");
  ListVal = named(new QCheckBox(Q(edtext::kListVal), SlotBox), "ListVal");
  SlotDecompose = named(new QCheckBox(Q(edtext::kDecompose), SlotBox), "SlotDecompose");
  TextDecLabel = new QLabel(Q(edtext::kTextDec), SlotBox);
  TextDec = named(new QLineEdit(SlotBox), "TextDec");
  auto* box = new QVBoxLayout(SlotBox);
  box->addWidget(SlotDefLabel);
  box->addWidget(SlotDef, 1);
  box->addWidget(new QLabel(Q(edtext::kDefValue), SlotBox));
  box->addWidget(DefValue);
  box->addWidget(ListVal);
  box->addWidget(SlotDecompose);
  box->addWidget(TextDecLabel);
  box->addWidget(TextDec);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(AddSlot);
  buttons->addWidget(DelSlot);
  auto* left = new QVBoxLayout;
  left->addWidget(SlotName);
  left->addLayout(buttons);
  left->addWidget(SlotList, 1);
  auto* layout = new QHBoxLayout(PageSlots);
  layout->addLayout(left, 2);
  layout->addWidget(SlotBox, 3);
  return PageSlots;
}

void TEditForm::connectSlots() {
  connect(SlotName, &QLineEdit::textChanged, this, &TEditForm::SlotNameChange);
  // AddSlot is the page's default button.
  connect(SlotName, &QLineEdit::returnPressed, this, [this] {
    if (AddSlot->isEnabled()) AddSlot->click();
  });
  connect(SlotList, &QListWidget::itemSelectionChanged, this, &TEditForm::SlotListClick);
  connect(AddSlot, &QPushButton::clicked, this, &TEditForm::AddSlotClick);
  connect(DelSlot, &QPushButton::clicked, this, &TEditForm::DelSlotClick);
  connect(SlotDef, &QPlainTextEdit::textChanged, this, &TEditForm::SlotDefChange);
  connect(DefValue, &QLineEdit::textChanged, this, &TEditForm::DefValueChange);
  connect(ListVal, &QCheckBox::toggled, this, &TEditForm::ListValClick);
  connect(SlotDecompose, &QCheckBox::toggled, this, &TEditForm::SlotDecomposeClick);
  connect(TextDec, &QLineEdit::textChanged, this, &TEditForm::TextDecChange);
}

void TEditForm::UpdateSlotPanel() {
  const int row = sorted::selected(SlotList);
  if (row < 0) {
    for (QWidget* w : {static_cast<QWidget*>(TextDec), static_cast<QWidget*>(TextDecLabel),
                       static_cast<QWidget*>(SlotDecompose), static_cast<QWidget*>(SlotBox),
                       static_cast<QWidget*>(SlotDef), static_cast<QWidget*>(SlotDefLabel)})
      w->hide();
    EditingScope editing(*this);  // a hidden panel's field writes nothing
    SlotDef->clear();
    DelSlot->setEnabled(false);
    return;
  }
  SlotBox->show();
  SlotBox->setTitle(SlotList->item(row)->text());
  SlotDef->show();
  SlotDefLabel->show();
  SlotDecompose->show();
  DelSlot->setEnabled(true);
}

int TEditForm::ShowSlotDef(const QString& name) {
  const int pos = sorted::find(SlotList, name);
  if (pos < 0) return -1;
  if (pos != sorted::selected(SlotList)) {
    sorted::select(SlotList, pos);
    return pos;
  }
  if (SlotName->text() != name) {
    SlotName->setText(name);  // SlotNameChange shows the definition
    return pos;
  }
  EditingScope editing(*this);
  SlotBox->setTitle(QString());
  if (const norvix::ASlotDef* def = kb().FindSlotDef(W(SlotList->item(pos)->text()))) {
    SlotDef->setPlainText(field::LinesText(def->Definition));
    DefValue->setText(def->DefaultValue.empty() ? Q(edtext::kNone) : Q(def->DefaultValue));
    ListVal->setChecked(def->IsValueList);
    SlotDecompose->setChecked(def->Decompose);
    if (def->Decompose) TextDec->setText(Q(def->DecomposeMsg));
  }
  TextDec->setVisible(SlotDecompose->isChecked());
  TextDecLabel->setVisible(SlotDecompose->isChecked());
  UpdateSlotPanel();
  return pos;
}

void TEditForm::SlotNameChange() {
  const QString name = Q(norvix::NormalizeBlanks(field::Stored(SlotName)));
  int pos = ShowSlotDef(name);
  if (name.isEmpty() || pos < 0) {
    SlotBox->setTitle(QString());
    sorted::select(SlotList, -1);
    SlotDecompose->setChecked(false);
    UpdateSlotPanel();
    DelSlot->setEnabled(false);
    AddSlot->setEnabled(!name.isEmpty());
    return;
  }
  pos = ShowSlotDef(name);
  AddSlot->setEnabled(pos < 0);
}

void TEditForm::SlotListClick() {
  const int row = sorted::selected(SlotList);
  if (row >= 0) ShowSlotDef(SlotList->item(row)->text());
  AddSlot->setEnabled(false);
}

void TEditForm::AddSlotClick() {
  const std::string name = norvix::NormalizeBlanks(field::Stored(SlotName));
  // The button is enabled only for a new, non-blank name; nothing else is
  // ever added.
  if (name.empty() || sorted::find(SlotList, Q(name)) >= 0) return;
  sorted::select(SlotList, sorted::insert(SlotList, Q(name)));
  AddSlot->setEnabled(false);
  sorted::select(ComboBox1, sorted::insert(ComboBox1, Q(name)));
  SlotName->selectAll();
  kb().AddSlotDef(name);
  ShowSlotDef(Q(name));
}

void TEditForm::DelSlotClick() {
  const std::string question = std::string(edtext::kAskDeleteSlot) +
                               field::Quoted(field::Stored(SlotName)) + edtext::kQuestionEnd;
  if (dialogs_.askWarning(this, Q(wintext::kWarningCaption), Q(question), false) !=
      Dialogs::Reply::Yes)
    return;
  const int row = sorted::selected(SlotList);
  if (row < 0) return norvix::ShowError(edtext::kCannotDeleteSlot);
  const QString name = SlotList->item(row)->text();
  kb().DeleteSlotDef(W(name));
  if (int i = sorted::find(ListBox1, name); i >= 0) {
    sorted::remove(ListBox1, i);
    sorted::select(ListBox1, -1);
    ProtoDelSlot->setEnabled(false);
  }
  if (int i = sorted::find(ComboBox1, name); i >= 0) {
    sorted::remove(ComboBox1, i);
    sorted::select(ComboBox1, -1);
    ProtoAddSlot->setEnabled(false);
  }
  SampComboChange();
  sorted::remove(SlotList, row);
  sorted::select(SlotList, -1);
  SlotName->clear();
  SlotBox->setTitle(QString());
  SlotDecompose->setChecked(false);
  AddSlot->setEnabled(false);
  DelSlot->setEnabled(false);
  UpdateSlotPanel();
}

void TEditForm::SlotDefChange() {
  if (Editing) return;
  norvix::ASlotDef* def = kb().FindSlotDef(W(CurrentSlotDef()));
  if (!def) return;
  if (field::LinesText(def->Definition) != SlotDef->toPlainText())
    def->Definition = field::StoredLines(SlotDef);
}

void TEditForm::DefValueChange() {
  if (Editing) return;
  kb().Modified = true;
  norvix::ASlotDef* def = kb().FindSlotDef(W(CurrentSlotDef()));
  if (!def) return;
  const std::string text = field::Stored(DefValue);
  def->DefaultValue = text == edtext::kNone ? std::string() : text;
}

// The new order of the lists shows at once on the other pages.
void TEditForm::ListValClick() {
  if (Editing) return;
  kb().Modified = true;
  if (CurrentSlotDef().isEmpty()) return;
  kb().SetValueList(W(CurrentSlotDef()), ListVal->isChecked());
  SampComboChange();
  if (ProtoList->currentItem()) ProtoListChange();
}

// The message starts empty at every change of the flag, whatever the field
// showed before.
void TEditForm::SlotDecomposeClick() {
  if (Editing || CurrentSlotDef().isEmpty()) return;
  norvix::ASlotDef* def = kb().FindSlotDef(W(CurrentSlotDef()));
  if (!def) return;
  def->Decompose = SlotDecompose->isChecked();
  TextDec->clear();
  def->DecomposeMsg.clear();
  TextDec->setVisible(SlotDecompose->isChecked());
  TextDecLabel->setVisible(SlotDecompose->isChecked());
}

void TEditForm::TextDecChange() {
  if (Editing) return;
  norvix::ASlotDef* def = kb().FindSlotDef(W(CurrentSlotDef()));
  if (!def) return;
  const std::string text = field::Stored(TextDec);
  if (def->DecomposeMsg != text) def->DecomposeMsg = text;
}
