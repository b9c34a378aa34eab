// Page "Прототипы": the slot definitions of the selected frame.  ListBox1
// lists the frame's own definitions and then each ancestor's; only its own
// can be removed here.
#include "edit_form.h"

#include "editor_texts.h"
#include "field_text.h"
#include "sorted_lists.h"
#include "window_texts.h"

#include <QSignalBlocker>

using field::Q;
using field::W;

void TEditForm::FillFrameSlotList(const norvix::AFrame& frame) {
  const QString chosen = ComboBox1->currentIndex() >= 0 ? ComboBox1->currentText() : QString();
  QStringList names;
  for (const norvix::AFrame* f = &frame; f; f = f->Parent) {
    for (const norvix::ASlotDef* def : f->OwnSlotDefs) {
      names << Q(def->Name());
      if (!chosen.isEmpty() && names.back() == chosen) ProtoAddSlot->setEnabled(false);
    }
  }
  QSignalBlocker quiet(ListBox1);
  ListBox1->addItems(names);
}

void TEditForm::ComboBox1Change() {
  if (ComboBox1->currentIndex() < 0) return ProtoAddSlot->setEnabled(false);
  ProtoAddSlot->setEnabled(sorted::find(ListBox1, ComboBox1->currentText()) < 0);
}

void TEditForm::ListBox1Click() {
  const int row = sorted::selected(ListBox1);
  if (ListBox1->count() == 0 || row < 0) return ProtoDelSlot->setEnabled(false);
  const norvix::ASlotDef* def = kb().FindSlotDef(W(ListBox1->item(row)->text()));
  const norvix::AFrame* frame = currentFrame();
  ProtoDelSlot->setEnabled(def && frame && frame->IndexOfOwnSlotDef(def) >= 0);
}

// The definition ends up attached to the frame only, not to frames below
// it, which now inherit it.
void TEditForm::ProtoAddSlotClick() {
  if (ComboBox1->currentIndex() < 0) return;
  const QString chosen = ComboBox1->currentText();
  norvix::AFrame* frame = currentFrame();
  norvix::ASlotDef* def = kb().FindSlotDef(W(chosen));
  kb().AttachSlot(W(CurrentFrame()), W(chosen));  // tells when either is missing
  if (!frame || !def) return;
  ListBox1->addItem(chosen);
  sorted::select(ListBox1, ListBox1->count() - 1);
  ProtoAddSlot->setEnabled(false);
  ProtoDelSlot->setEnabled(true);
  if (frame->IsSample) SampComboChange();
  frame->DetachFromDescendants(def);
}

void TEditForm::ProtoDelSlotClick() {
  const int row = sorted::selected(ListBox1);
  if (row < 0) return;
  const QString entry = ListBox1->item(row)->text();
  const std::string question = std::string(edtext::kAskDeleteSlot) + field::Quoted(W(entry)) +
                               edtext::kFromFrame + field::Quoted(W(CurrentFrame())) +
                               edtext::kQuestionEnd;
  if (dialogs_.askWarning(this, Q(wintext::kWarningCaption), Q(question), false) !=
      Dialogs::Reply::Yes)
    return;
  norvix::AFrame* frame = currentFrame();
  const norvix::ASlotDef* def = kb().FindSlotDef(W(entry));
  const bool own = frame && def && frame->IndexOfOwnSlotDef(def) >= 0;
  kb().DetachSlot(W(CurrentFrame()), W(entry));  // tells when it cannot
  if (!own) return;
  if (frame->IsSample) SampComboChange();
  sorted::remove(ListBox1, row);
  sorted::select(ListBox1, -1);
  ProtoDelSlot->setEnabled(false);
  ComboBox1Change();
}
