// TEditForm: the window as a whole, its buttons, its life with the main
// window, and RefreshEditor.
#include "edit_form.h"

#include "check_window.h"
#include "editor_texts.h"
#include "field_text.h"
#include "main_window.h"
#include "sorted_lists.h"
#include "main_window.h"

#include <QAction>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QSignalBlocker>
#include <QVBoxLayout>

using field::Q;

namespace {
constexpr int kClientWidth = 636, kClientHeight = 451;

QPushButton* makeButton(QWidget* parent, const char* name, const char* caption) {
  auto* button = new QPushButton(Q(caption), parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setAutoDefault(false);  // Enter in a field presses nothing by itself
  return button;
}
}  // namespace

TEditForm::TEditForm(TForm1& main, Dialogs& dialogs)
    : QDialog(&main, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      main_(main),
      dialogs_(dialogs),
      clearAction_(main.ClearKB->defaultAction()),
      loadAction_(main.LoadKB->defaultAction()),
      saveAction_(main.SaveKB->defaultAction()) {
  setObjectName(QStringLiteral("EditForm"));
  setWindowTitle(Q(edtext::kCaption));
  setFixedSize(kClientWidth, kClientHeight);
  setModal(true);

  Pages = new QTabWidget(this);
  Pages->setObjectName(QStringLiteral("Pages"));
  Pages->addTab(buildProjectPage(), Q(edtext::kPageProject));
  Pages->addTab(buildSlotsPage(), Q(edtext::kPageSlots));
  Pages->addTab(buildProtoPage(), Q(edtext::kPageProto));
  Pages->addTab(buildSamplePage(), Q(edtext::kPageSamp));
  Pages->addTab(buildDialogPage(), Q(edtext::kPageDialog));

  Okbutt = makeButton(this, "Okbutt", edtext::kOk);
  BitBtn1 = makeButton(this, "BitBtn1", edtext::kClear);
  BitBtn2 = makeButton(this, "BitBtn2", edtext::kLoad);
  BitBtn3 = makeButton(this, "BitBtn3", edtext::kSave);
  CheckButt = makeButton(this, "CheckButt", edtext::kCheck);
  auto* buttons = new QVBoxLayout;
  for (QPushButton* b : {Okbutt, BitBtn1, BitBtn2, BitBtn3, CheckButt}) buttons->addWidget(b);
  buttons->addStretch(1);
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(Pages, 1);
  layout->addLayout(buttons);

  connect(Okbutt, &QPushButton::clicked, this, &TEditForm::OkbuttClick);
  connect(BitBtn1, &QPushButton::clicked, this, &TEditForm::BitBtn1Click);
  connect(BitBtn2, &QPushButton::clicked, this, &TEditForm::BitBtn2Click);
  connect(BitBtn3, &QPushButton::clicked, this, &TEditForm::BitBtn3Click);
  connect(CheckButt, &QPushButton::clicked, this, &TEditForm::CheckButtClick);
  connect(this, &TEditForm::captionChanged, &main_, &QWidget::setWindowTitle);
  connect(this, &TEditForm::targetChanged, main_.QueryKB, &QWidget::setEnabled);
  connectProject();
  connectSlots();
  connectProto();
  connectSamples();
  connectDialog();

  main_.setEditor(this);
  FormCreate();
}

TEditForm::~TEditForm() {
  main_.setEditor(nullptr);
  FormDestroy();
}

norvix::AKBase& TEditForm::kb() { return main_.KBase(); }

void TEditForm::FormCreate() { RefreshEditor(); }

void TEditForm::FormShow() { Pages->setCurrentIndex(0); }

void TEditForm::FormDestroy() {
  EditingScope editing(*this);
  ProtoList->setCurrentItem(nullptr);
  SlotList->clear();
  SlotDef->clear();
  ProtoList->clear();
  ProtoDef->clear();
  ListView1->clear();
  ListBox1->clear();
  sorted::clear(ComboBox1);
  sorted::clear(SampCombo);
}

void TEditForm::showEvent(QShowEvent* event) {
  FormShow();
  QDialog::showEvent(event);
}

// The window closes by Okbutt or its system menu only; Escape would also
// end a label or value being edited, so it is left to those fields.
void TEditForm::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) return;
  QDialog::keyPressEvent(event);
}

void TEditForm::ShowEditor() {
  FormShow();
  dialogs_.runModal(*this);
}

// The knowledge base is about to be replaced: nothing may refer to it any
// more, and nothing is written back into it on the way.
void TEditForm::DropSelection() {
  EditingScope editing(*this);
  sorted::select(SampCombo, -1);
  UpdateSamplePanel();
  emptyPages();
}

void TEditForm::OkbuttClick() { accept(); }

// The main window's own commands: they ask what it asks, print what it
// prints, and refresh the editor where they replace the knowledge base.
void TEditForm::BitBtn1Click() { clearAction_->trigger(); }
void TEditForm::BitBtn2Click() { loadAction_->trigger(); }
void TEditForm::BitBtn3Click() { saveAction_->trigger(); }

void TEditForm::CheckButtClick() {
  TCheckForm form(kb(), this);
  dialogs_.runModal(form);
}

void TEditForm::RefreshEditor() {
  EditingScope editing(*this);
  {
    QSignalBlocker quiet(SlotName);
    SlotName->clear();
  }
  SlotNameChange();
  emptyPages();
  putFixedTexts();
  UpdateSlotPanel();
  UpdateProtoPanel();
  UpdateSamplePanel();
  fillFromKBase();
  kb().Modified = false;
}

// Empties every list of the pages; the typed text of Target stays.
void TEditForm::emptyPages() {
  EditingScope editing(*this);
  sorted::clear(Target);
  sorted::clear(SampCombo);
  sorted::clear(ComboBox1);
  SlotList->clear();
  SlotDef->clear();
  ProtoList->setCurrentItem(nullptr);
  ProtoList->clear();
  ProtoDef->clear();
  ListBox1->clear();
  ListView1->clear();
}

void TEditForm::putFixedTexts() {
  Invitation->setText(Q(norvix::msg::kDefaultInvitation));
  dSuccessMsg->setText(Q(norvix::msg::kDefaultSuccess));
  dFailMsg->setText(Q(norvix::msg::kDefaultFail));
  ProjectName->clear();
  Purpose->clear();
  Subject->clear();
  Author->clear();
  DefValue->setText(Q(edtext::kNone));
  OfferMsg->clear();
  SuccessMsg->clear();
  FailMsg->clear();
}

// Lists are filled in one go each (sorted once), so that a large knowledge
// base shows quickly.
void TEditForm::fillFromKBase() {
  norvix::AKBase& base = kb();
  Target->setEditText(Q(base.TargetFrame));
  TargetChange();  // setEditText is silent when the text stays the same

  QStringList slotNames;
  for (const auto& def : base.SlotDefs()) slotNames << Q(def->Name());
  sorted::fill(ComboBox1, slotNames);
  sorted::select(ComboBox1, ComboBox1->count() > 0 ? 0 : -1);
  sorted::fill(SlotList, slotNames);

  QStringList prototypes, samples;
  for (const auto& frame : base.Frames()) {
    if (!frame->IsSample) prototypes << Q(frame->Name());
    if (!frame->Parent) AddFrameNode(*frame, &samples);
  }
  sorted::fill(Target, prototypes);
  sorted::fill(SampCombo, samples);

  AddSlot->setEnabled(false);
  CheckBox1->setChecked(base.AutoReport);
  Invitation->setText(Q(base.Invitation));
  dSuccessMsg->setText(Q(base.SuccessMsg));
  dFailMsg->setText(Q(base.FailMsg));
  ProjectName->setText(Q(base.ProjectName));
  ProjectNameChange();  // the caption, even when the field kept its text
  Purpose->setPlainText(field::MemoText(base.Purpose));
  Subject->setPlainText(field::MemoText(base.Subject));
  Author->setText(Q(base.Author));
}
