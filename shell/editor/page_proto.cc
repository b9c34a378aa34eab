// Page "Прототипы": the frame forest as a tree whose node texts are the
// frame names.  Nodes are found by name byte for byte, list entries
// ignoring letter case.
#include "edit_form.h"

#include "blanks.h"
#include "editor_icons.h"
#include "editor_texts.h"
#include "editor_widgets.h"
#include "error_sink.h"
#include "field_text.h"
#include "sorted_lists.h"
#include "window_texts.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QSignalBlocker>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>
#include <utility>
#include <vector>

using field::Q;
using field::W;

namespace {

QPushButton* pageButton(QWidget* parent, const char* name, const char* caption) {
  auto* button = named(new QPushButton(Q(caption), parent), name);
  button->setAutoDefault(false);
  return button;
}
}  // namespace

QWidget* TEditForm::buildProtoPage() {
  PageProto = named(new QWidget, "PageProto");
  AddProto = pageButton(PageProto, "AddProto", edtext::kAdd);
  DelProto = pageButton(PageProto, "DelProto", edtext::kDelete);
  AddChild = pageButton(PageProto, "AddChild", edtext::kAddChild);
  CheckSamp = named(new QCheckBox(Q(edtext::kSample), PageProto), "CheckSamp");

  auto* tree = new QTreeWidget(PageProto);
  ProtoList = named(tree, "ProtoList");
  ProtoList->setHeaderHidden(true);
  ProtoList->setColumnCount(1);
  ProtoList->setSelectionMode(QAbstractItemView::SingleSelection);
  ProtoList->setEditTriggers(QAbstractItemView::SelectedClicked |
                             QAbstractItemView::EditKeyPressed);
  auto* labels = new LabelDelegate(ProtoList);
  labels->onEdited = [this](const QPersistentModelIndex& index, const QString& text) {
    if (QTreeWidgetItem* node = ProtoList->itemFromIndex(index)) ProtoListEdited(node, text);
  };
  ProtoList->setItemDelegate(labels);

  box1 = named(new QGroupBox(PageProto), "box1");
  ProtoDef = named(new QPlainTextEdit(box1), "ProtoDef");
  ComboBox1 = named(new QComboBox(box1), "ComboBox1");
  ComboBox1->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  ProtoAddSlot = pageButton(box1, "ProtoAddSlot", edtext::kProtoAddSlot);
  ProtoDelSlot = pageButton(box1, "ProtoDelSlot", edtext::kProtoDelSlot);
  ListBox1 = named(new QListWidget(box1), "ListBox1");
  ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
  auto* slotButtons = new QHBoxLayout;
  slotButtons->addWidget(ProtoAddSlot);
  slotButtons->addWidget(ProtoDelSlot);
  auto* box = new QVBoxLayout(box1);
  box->addWidget(new QLabel(Q(edtext::kDefinition), box1));
  box->addWidget(ProtoDef, 1);
  box->addWidget(new QLabel(Q(edtext::kSlots), box1));
  box->addWidget(ComboBox1);
  box->addLayout(slotButtons);
  box->addWidget(ListBox1, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(AddProto);
  buttons->addWidget(DelProto);
  auto* left = new QVBoxLayout;
  left->addWidget(ProtoList, 1);
  left->addLayout(buttons);
  left->addWidget(AddChild);
  left->addWidget(CheckSamp);
  auto* layout = new QHBoxLayout(PageProto);
  layout->addLayout(left, 1);
  layout->addWidget(box1, 1);
  return PageProto;
}

void TEditForm::connectProto() {
  connect(AddProto, &QPushButton::clicked, this, &TEditForm::AddProtoClick);
  connect(AddChild, &QPushButton::clicked, this, &TEditForm::AddChildClick);
  connect(DelProto, &QPushButton::clicked, this, &TEditForm::DelProtoClick);
  connect(ProtoList, &QTreeWidget::currentItemChanged, this, &TEditForm::ProtoListChange);
  connect(CheckSamp, &QCheckBox::toggled, this, &TEditForm::CheckSampClick);
  connect(ProtoDef, &QPlainTextEdit::textChanged, this, &TEditForm::ProtoDefChange);
  connect(ComboBox1, &QComboBox::activated, this, &TEditForm::ComboBox1Change);
  connect(ListBox1, &QListWidget::itemSelectionChanged, this, &TEditForm::ListBox1Click);
  connect(ProtoAddSlot, &QPushButton::clicked, this, &TEditForm::ProtoAddSlotClick);
  connect(ProtoDelSlot, &QPushButton::clicked, this, &TEditForm::ProtoDelSlotClick);
}

norvix::AFrame* TEditForm::currentFrame() { return kb().FindFrame(W(CurrentFrame())); }

QTreeWidgetItem* TEditForm::FindTreeNode(const QString& name) const {
  for (QTreeWidgetItemIterator it(ProtoList); *it; ++it)
    if ((*it)->text(0) == name) return *it;
  return nullptr;
}

// A node of `name` under `parent` (at the top level without one), after
// the children it has.
QTreeWidgetItem* TEditForm::addNode(QTreeWidgetItem* parent, const QString& name, int image) {
  auto* node = new FrameNode(name, image);
  if (parent)
    parent->addChild(node);
  else
    ProtoList->addTopLevelItem(node);
  return node;
}

// The subtree is built apart from the tree and joins it in one step, and
// the walk keeps its own stack, so a large or deep forest shows quickly and
// safely.
void TEditForm::AddFrameNode(const norvix::AFrame& frame, QStringList* samples) {
  QTreeWidgetItem* under = frame.Parent ? FindTreeNode(Q(frame.Parent->Name())) : nullptr;
  std::vector<std::pair<const norvix::AFrame*, QTreeWidgetItem*>> stack;
  QTreeWidgetItem* root = nullptr;
  stack.emplace_back(&frame, nullptr);
  while (!stack.empty()) {
    auto [f, parent] = stack.back();
    stack.pop_back();
    auto* node = new FrameNode(Q(f->Name()), f->IsSample ? 1 : 0);
    if (parent)
      parent->addChild(node);
    else
      root = node;
    if (f->IsSample) {
      if (samples)
        *samples << node->text(0);
      else
        sorted::insert(SampCombo, node->text(0));
    }
    for (auto child = f->Children.rbegin(); child != f->Children.rend(); ++child)
      stack.emplace_back(*child, node);
  }
  if (under)
    under->addChild(root);
  else
    ProtoList->addTopLevelItem(root);
}

void TEditForm::UpdateProtoPanel() {
  if (QTreeWidgetItem* node = ProtoList->currentItem()) {
    box1->show();
    box1->setTitle(node->text(0));
    DelProto->setEnabled(true);
    CheckSamp->show();
    AddChild->show();
    CheckSamp->setEnabled(node->childCount() == 0);
    return;
  }
  EditingScope editing(*this);  // nothing is selected: nothing is written
  ProtoDef->clear();
  box1->hide();
  box1->setTitle(QString());
  DelProto->setEnabled(false);
  CheckSamp->hide();
  CheckSamp->setChecked(false);
  AddChild->hide();
}

void TEditForm::startLabelEdit(QTreeWidgetItem* node) {
  if (!isVisible()) return;
  ProtoList->setFocus();
  ProtoList->setCurrentItem(node);
  ProtoList->editItem(node, 0);
}

// A frame is made before its node, so a refused name leaves no node
// without a frame behind.
void TEditForm::AddProtoClick() {
  const std::string name = kb().UniqueFrameName(edtext::kNewFrame);
  if (kb().FindFrame(name)) return;  // the names ran out; the model said so
  kb().AddFrame(name, nullptr);
  QTreeWidgetItem* node = addNode(nullptr, Q(name), 0);
  UpdateProtoPanel();
  ProtoDelSlot->setEnabled(false);
  ProtoAddSlot->setEnabled(ComboBox1->count() > 0);
  sorted::insert(Target, Q(name));
  startLabelEdit(node);
}

void TEditForm::AddChildClick() {
  QTreeWidgetItem* selected = ProtoList->currentItem();
  if (!selected) return;
  const std::string name = kb().UniqueFrameName(W(selected->text(0)));
  if (kb().FindFrame(name)) return;  // the names ran out; the model said so
  const int at = kb().IndexOfFrame(W(selected->text(0)));
  if (at < 0) return norvix::ShowError(edtext::kNoFrame);
  norvix::AFrame* parent = kb().Frames()[static_cast<size_t>(at)].get();
  if (!kb().AddFrame(name, parent)) return norvix::ShowError(edtext::kSampleHasNoChildren);
  QTreeWidgetItem* node = addNode(selected, Q(name), 0);
  sorted::insert(Target, Q(name));
  UpdateProtoPanel();
  startLabelEdit(node);
}

void TEditForm::ProtoListChange() {
  UpdateProtoPanel();
  QTreeWidgetItem* node = ProtoList->currentItem();
  if (!node) return;
  EditingScope editing(*this);
  box1->setTitle(node->text(0));
  const bool sample = icons::ImageOf(node) != 0;
  CheckSamp->setChecked(sample);
  AddChild->setEnabled(!sample);
  ListBox1->clear();
  ProtoDef->clear();
  ProtoAddSlot->setEnabled(ComboBox1->currentIndex() >= 0);
  if (norvix::AFrame* frame = currentFrame()) {
    FillFrameSlotList(*frame);
    if (frame->IsSample) {
      const int entry = sorted::find(SampCombo, node->text(0));
      sorted::select(SampCombo, entry);
      if (entry >= 0) SampComboChange();
    }
    ProtoDef->setPlainText(field::LinesText(frame->Definition));
  }
  ProtoDelSlot->setEnabled(sorted::selected(ListBox1) >= 0);
}

void TEditForm::ProtoListEdited(QTreeWidgetItem* node, const QString& text) {
  const QString oldName = node->text(0);
  if (text == oldName) return;
  const std::string name = W(text);
  const std::string old = W(oldName);
  if (norvix::NormalizeBlanks(name).empty() || !kb().CanRenameFrame(old, name))
    return norvix::ShowError(std::string(edtext::kBadName) + field::Quoted(name) +
                             edtext::kBadNameEnd);
  const bool wasTarget = kb().TargetFrame == old;
  kb().RenameFrame(old, name);
  node->setText(0, Q(name));
  if (icons::ImageOf(node) == 0)
    renameInTarget(oldName, Q(name), wasTarget);
  else
    renameInSampleBox(oldName, Q(name));
  UpdateProtoPanel();
}

// The knowledge base's target follows its prototype's new name; renaming
// another prototype leaves the target as it was.
void TEditForm::renameInTarget(const QString& oldName, const QString& newName, bool wasTarget) {
  if (int entry = sorted::find(Target, oldName); entry >= 0) {
    sorted::remove(Target, entry);
    sorted::insert(Target, newName);
  }
  if (wasTarget) Target->setEditText(newName);  // TargetChange stores it
}

void TEditForm::renameInSampleBox(const QString& oldName, const QString& newName) {
  const int entry = sorted::find(SampCombo, oldName);
  if (entry < 0) return;
  sorted::remove(SampCombo, entry);
  sorted::select(SampCombo, sorted::insert(SampCombo, newName));
  SampComboChange();
}

void TEditForm::DelProtoClick() {
  QTreeWidgetItem* node = ProtoList->currentItem();
  if (!node) return;
  const std::string name = field::Quoted(W(node->text(0)));
  std::string question = edtext::kAskDeleteFrame;
  if (CheckSamp->isChecked())
    question += edtext::kOfSample + name + edtext::kQuestionEnd;
  else
    question += edtext::kOfProto + name + " " +
                (node->childCount() > 0 ? edtext::kWithDescendants : edtext::kQuestionMark);
  if (dialogs_.askWarning(this, Q(wintext::kWarningCaption), Q(question), false) !=
      Dialogs::Reply::Yes)
    return;
  norvix::AFrame* frame = kb().FindFrame(W(node->text(0)));
  if (!frame) return;
  DropFrameFromLists(*frame);
  kb().DeleteFrame(frame);
  delete node;  // the view moves its current node on; nothing stays selected
  ProtoList->setCurrentItem(nullptr);
  ProtoList->clearSelection();
  UpdateProtoPanel();
  UpdateSamplePanel();
}

// The names are gathered first and leave each box in one pass, so that
// deleting a large subtree stays quick.
void TEditForm::DropFrameFromLists(const norvix::AFrame& frame) {
  QStringList names, samples;
  std::vector<const norvix::AFrame*> stack{&frame};
  while (!stack.empty()) {
    const norvix::AFrame* f = stack.back();
    stack.pop_back();
    names << Q(f->Name());
    if (f->IsSample) samples << names.back();
    else stack.insert(stack.end(), f->Children.rbegin(), f->Children.rend());
  }
  sorted::removeEach(Target, names);
  sorted::removeEach(SampCombo, samples);
}

// Only a leaf can become a sample; should the model refuse all the same,
// the box goes back and the user is told.
void TEditForm::CheckSampClick() {
  if (Editing) return;
  QTreeWidgetItem* node = ProtoList->currentItem();
  if (!node) return;
  norvix::AFrame* frame = currentFrame();
  if (!frame) return;
  const bool checked = CheckSamp->isChecked();
  if (!frame->SetSample(checked)) {
    {
      QSignalBlocker quiet(CheckSamp);
      CheckSamp->setChecked(!checked);
    }
    return norvix::ShowError(edtext::kParentCannotBeSample);
  }
  const QString name = node->text(0);
  if (checked) {
    icons::SetFrameImage(node, 1);
    AddChild->setEnabled(false);
    int entry = sorted::find(SampCombo, name);
    if (entry < 0) entry = sorted::insert(SampCombo, name);
    sorted::select(SampCombo, entry);
    if (int t = sorted::find(Target, name); t >= 0) sorted::remove(Target, t);
    if (SampCombo->count() == 1) UpdateSamplePanel();
  } else {
    icons::SetFrameImage(node, 0);
    AddChild->setEnabled(true);
    if (int entry = sorted::find(SampCombo, name); entry >= 0) sorted::remove(SampCombo, entry);
    if (sorted::find(Target, name) < 0) sorted::insert(Target, name);
    UpdateSamplePanel();
  }
  SampComboChange();
  if (isVisible()) ProtoList->setFocus();
}

void TEditForm::ProtoDefChange() {
  if (Editing) return;
  norvix::AFrame* frame = currentFrame();
  if (frame && field::LinesText(frame->Definition) != ProtoDef->toPlainText())
    frame->Definition = field::StoredLines(ProtoDef);
}
