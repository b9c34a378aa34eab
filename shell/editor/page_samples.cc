// Page "Экземпляры": the chosen sample's slot values and messages.  A value
// is edited in place: Edit1 is laid over the value cell of the clicked row.
#include "edit_form.h"

#include "blanks.h"
#include "editor_icons.h"
#include "editor_texts.h"
#include "editor_widgets.h"
#include "field_text.h"
#include "sorted_lists.h"

#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>

using field::Q;
using field::W;

namespace {
constexpr int kSlotColumnWidth = 200, kValueColumnWidth = 270;

}  // namespace

QWidget* TEditForm::buildSamplePage() {
  PageSamp = named(new QWidget, "PageSamp");
  SampCombo = named(new QComboBox(PageSamp), "SampCombo");
  SampCombo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  ClassLabel = new QLabel(Q(edtext::kClass), PageSamp);
  ClassName = named(new QLabel(PageSamp), "ClassName");

  GroupBox1 = named(new QGroupBox(PageSamp), "GroupBox1");
  auto* list = new ReportList(GroupBox1);
  list->onMouseDown = [this] { ListView1MouseDown(); };
  ListView1 = named(static_cast<QTreeWidget*>(list), "ListView1");
  ListView1->setColumnCount(2);
  ListView1->setHeaderLabels({Q(edtext::kSlotColumn), Q(edtext::kValueColumn)});
  ListView1->setColumnWidth(0, kSlotColumnWidth);
  ListView1->setColumnWidth(1, kValueColumnWidth);
  ListView1->setRootIsDecorated(false);
  ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
  ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
  ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  Edit1 = named(new QLineEdit(GroupBox1), "Edit1");
  Edit1->hide();
  auto* box = new QVBoxLayout(GroupBox1);
  box->addWidget(ListView1);

  OfferMsgLabel = new QLabel(Q(edtext::kOfferMsg), PageSamp);
  OfferMsg = named(new QLineEdit(PageSamp), "OfferMsg");
  SuccessMsgLabel = new QLabel(Q(edtext::kSuccessMsg), PageSamp);
  SuccessMsg = named(new QLineEdit(PageSamp), "SuccessMsg");
  FailMsgLabel = new QLabel(Q(edtext::kFailMsg), PageSamp);
  FailMsg = named(new QLineEdit(PageSamp), "FailMsg");

  auto* top = new QHBoxLayout;
  top->addWidget(new QLabel(Q(edtext::kFrame), PageSamp));
  top->addWidget(SampCombo, 1);
  top->addWidget(ClassLabel);
  top->addWidget(ClassName, 1);
  auto* messages = new QFormLayout;
  messages->addRow(OfferMsgLabel, OfferMsg);
  messages->addRow(SuccessMsgLabel, SuccessMsg);
  messages->addRow(FailMsgLabel, FailMsg);
  auto* layout = new QVBoxLayout(PageSamp);
  layout->addLayout(top);
  layout->addWidget(GroupBox1, 1);
  layout->addLayout(messages);
  return PageSamp;
}

void TEditForm::connectSamples() {
  connect(SampCombo, &QComboBox::activated, this, &TEditForm::SampComboChange);
  connect(OfferMsg, &QLineEdit::textChanged, this, &TEditForm::OfferMsgChange);
  connect(SuccessMsg, &QLineEdit::textChanged, this, &TEditForm::SuccessMsgChange);
  connect(FailMsg, &QLineEdit::textChanged, this, &TEditForm::FailMsgChange);
  connect(Edit1, &QLineEdit::textChanged, this, &TEditForm::Edit1Change);
  // Enter ends the value as leaving the field does.
  connect(Edit1, &QLineEdit::returnPressed, ListView1, [this] { ListView1->setFocus(); });
  Edit1->installEventFilter(this);
  ListView1->installEventFilter(this);
}

bool TEditForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusOut) {
    if (watched == Edit1)
      Edit1Exit();
    else if (watched == ListView1)
      ListView1Exit();
  }
  return QDialog::eventFilter(watched, event);
}

norvix::AFrame* TEditForm::currentSample() { return kb().FindFrame(W(CurrentSample())); }

void TEditForm::UpdateSamplePanel() {
  {
    EditingScope editing(*this);  // the field is dropped, not stored
    Edit1->clear();
    Edit1->hide();
  }
  const bool chosen = SampCombo->currentIndex() >= 0;
  for (QWidget* w : {static_cast<QWidget*>(ClassLabel), static_cast<QWidget*>(ClassName),
                     static_cast<QWidget*>(GroupBox1), static_cast<QWidget*>(ListView1),
                     static_cast<QWidget*>(OfferMsgLabel), static_cast<QWidget*>(OfferMsg),
                     static_cast<QWidget*>(SuccessMsgLabel), static_cast<QWidget*>(SuccessMsg),
                     static_cast<QWidget*>(FailMsgLabel), static_cast<QWidget*>(FailMsg)})
    w->setVisible(chosen);
}

void TEditForm::SampComboChange() {
  if (SampCombo->count() == 0 || SampCombo->currentIndex() < 0) return;
  UpdateSamplePanel();
  GroupBox1->setTitle(SampCombo->currentText());
  const norvix::AFrame* sample = currentSample();
  if (!sample) return;
  EditingScope editing(*this);
  ClassName->setText(sample->Parent ? Q(sample->Parent->Name()) : QString());
  OfferMsg->setText(Q(sample->OfferMsg));
  SuccessMsg->setText(Q(sample->SuccessMsg));
  FailMsg->setText(Q(sample->FailMsg));
  ListView1->clear();
  QList<QTreeWidgetItem*> rows;
  for (const norvix::ASlot& slot : sample->Slots) {
    const std::string& shown = !slot.Value.empty()               ? slot.Value
                               : !slot.Def->DefaultValue.empty() ? slot.Def->DefaultValue
                                                                 : std::string(edtext::kNone);
    auto* row = new QTreeWidgetItem(QStringList{Q(slot.Def->Name()), Q(shown)});
    icons::SetSlotImage(row, slot.Def->IsValueList ? 1 : 0);
    rows << row;
  }
  ListView1->addTopLevelItems(rows);
}

namespace {
// Writes a message field into `message` when they differ.
void storeMessage(std::string& message, QLineEdit* field) {
  const std::string text = field::Stored(field);
  if (message != text) message = text;
}
}  // namespace

void TEditForm::OfferMsgChange() {
  if (Editing) return;
  if (norvix::AFrame* sample = currentSample()) storeMessage(sample->OfferMsg, OfferMsg);
}

void TEditForm::SuccessMsgChange() {
  if (Editing) return;
  if (norvix::AFrame* sample = currentSample()) storeMessage(sample->SuccessMsg, SuccessMsg);
}

void TEditForm::FailMsgChange() {
  if (Editing) return;
  if (norvix::AFrame* sample = currentSample()) storeMessage(sample->FailMsg, FailMsg);
}

QTreeWidgetItem* TEditForm::selectedRow() const {
  const QList<QTreeWidgetItem*> rows = ListView1->selectedItems();
  return rows.isEmpty() ? nullptr : rows.first();
}

norvix::ASlot* TEditForm::selectedSlot() {
  QTreeWidgetItem* row = selectedRow();
  norvix::AFrame* sample = currentSample();
  if (!row || !sample) return nullptr;
  return sample->SlotFor(kb().FindSlotDef(W(row->text(0))));
}

// Over the value cell of `row`, in the coordinates of the list's parent.
void TEditForm::placeEdit1(QTreeWidgetItem* row) {
  const QRect cell = ListView1->visualItemRect(row);  // in the viewport, below the header
  const int top = ListView1->y() + ListView1->viewport()->y() + cell.top();
  Edit1->setGeometry(ListView1->x() + ListView1->columnWidth(0), top, ListView1->columnWidth(1) + 2,
                     std::max(cell.height(), Edit1->sizeHint().height()));
}

void TEditForm::ListView1MouseDown() {
  QTreeWidgetItem* row = selectedRow();
  if (!row) return Edit1->hide();
  const norvix::ASlot* slot = selectedSlot();
  if (!slot) return;
  {
    EditingScope editing(*this);  // showing the value is no change of it
    Edit1->setText(Q(slot->Value));
  }
  Edit1->selectAll();
  placeEdit1(row);
  Edit1->show();
  Edit1->raise();
  if (isVisible()) Edit1->setFocus();
}

void TEditForm::Edit1Change() {
  if (Editing || Edit1->isHidden()) return;
  QTreeWidgetItem* row = selectedRow();
  if (!row) return Edit1->hide();
  norvix::ASlot* slot = selectedSlot();
  if (!slot) return;
  const std::string text = field::Stored(Edit1);
  if (slot->Value != norvix::NormalizeBlanks(text)) {
    if (text == edtext::kNone) {
      slot->Value = slot->Def->DefaultValue;
    } else if (text.empty()) {
      slot->Value = slot->Def->DefaultValue;
      Edit1->setText(Q(slot->Value));  // runs this handler again with the default
    } else {
      slot->Value = text;
    }
  }
  row->setText(1, Edit1->text().isEmpty() ? Q(edtext::kNone) : Edit1->text());
}

void TEditForm::Edit1Exit() {
  Edit1Change();
  Edit1->hide();
}

void TEditForm::ListView1Exit() {
  if (!Edit1->hasFocus()) Edit1->hide();
}
