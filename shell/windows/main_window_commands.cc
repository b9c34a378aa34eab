// TForm1: the toolbar commands and closing the window.
#include "main_window.h"

#include "display_text.h"
#include "editor_link.h"
#include "qt_text.h"
#include "results_window.h"
#include "window_texts.h"

#include <QCloseEvent>

namespace {
QString q(const char* cp1251Text) { return cp1251::toQString(cp1251Text); }
}  // namespace

// Drops the editor's references and puts a new, empty base in place.
// Never called while a consultation reads the base.
void TForm1::replaceKBase() {
  if (editor_) editor_->DropSelection();
  forgetExplanation();
  kb_.reset();
  kb_ = std::make_unique<norvix::AKBase>();
}

void TForm1::UpdateCaption() {
  std::string caption = wintext::kMainCaption;
  if (!kb_->ProjectName.empty()) caption += wintext::kCaptionJoin + kb_->ProjectName;
  setWindowTitle(displayText(caption));
}

void TForm1::UpdateQueryButton() { QueryAction->setEnabled(!kb_->TargetFrame.empty()); }

// Asks about unsaved changes before the base is replaced.  Yes saves first;
// false means the command stops (Cancel, or a save that did not happen).
bool TForm1::ConfirmDiscard() {
  if (!kb_->Modified) return true;
  switch (dialogs_.askWarning(this, q(wintext::kWarningCaption), displayText(wintext::kUnsaved),
                              true)) {
    case Dialogs::Reply::Yes: return SaveKnowledgeBase();
    case Dialogs::Reply::No: return true;
    case Dialogs::Reply::Cancel: return false;
  }
  return false;
}

// The base cannot be replaced under a running consultation (the editor's
// buttons reach these commands too), so they do nothing then.
void TForm1::ClearKBClick() {
  if (engine_.Running() || !ConfirmDiscard()) return;
  replaceKBase();
  QueryAction->setEnabled(false);
  if (editor_) editor_->RefreshEditor();
  // The caption follows the (now empty) project name, as the editor sets it.
  UpdateCaption();
  PrintLine(wintext::kNewBase);
  PrintLine(wintext::kBlankLine);
}

// The file is read into a base of its own, which replaces the current one
// only when the load succeeded: a damaged file leaves the previous base, the
// caption, QueryKB and the editor as they were (and Save cannot write a
// fragment over the good file).
bool TForm1::LoadFile(const std::string& fileName, const std::string& shownName) {
  if (engine_.Running()) return false;
  auto loaded = std::make_unique<norvix::AKBase>();
  if (!loaded->LoadFromFile(fileName)) return false;
  if (editor_) editor_->DropSelection();
  forgetExplanation();
  kb_ = std::move(loaded);
  PrintLine(wintext::kLoadOpen + shownName + wintext::kNameClose);
  PrintLine(wintext::kBlankLine);
  UpdateQueryButton();
  if (editor_) editor_->RefreshEditor();
  UpdateCaption();
  return true;
}

void TForm1::LoadKBClick() {
  if (engine_.Running() || !ConfirmDiscard()) return;
  std::optional<QString> file = dialogs_.chooseOpenFile(this, OpenDialog1);
  if (!file) return;
  LoadFile(fileNameForSystem(*file), fileNameForDialog(*file));
}

// Saves under a name chosen in SaveDialog1.  The save line is printed only
// when the file was written; a failure has been shown to the user.
bool TForm1::SaveKnowledgeBase() {
  std::optional<QString> file =
      dialogs_.chooseSaveFile(this, SaveDialog1, displayText(kb_->ProjectName));
  if (!file) return false;
  const int shownBefore = errorsShown_;
  std::string cause;
  if (!kb_->SaveToFile(fileNameForSystem(*file), &cause)) {
    // The user always learns of a failed save, whether or not the base
    // reported it itself.
    if (errorsShown_ == shownBefore) {
      std::string text = wintext::kSaveFailed;
      if (!cause.empty()) text += "\r" + cause;
      dialogs_.showError(this, q(wintext::kErrorCaption), displayText(text));
    }
    return false;
  }
  PrintLine(wintext::kSaveOpen + fileNameForDialog(*file) + wintext::kNameClose);
  PrintLine(wintext::kBlankLine);
  return true;
}

void TForm1::SaveKBClick() { SaveKnowledgeBase(); }

void TForm1::EditKBClick() {
  if (editor_) editor_->ShowEditor();
}

void TForm1::QueryKBClick() {
  if (kb_->TargetFrame.empty() || engine_.Running()) return;
  Cancelled = false;
  forgetExplanation();
  engine_.RunConsultation(*kb_);
  keepExplanation();
  if (closeAfterRun_) {
    closeAfterRun_ = false;
    close();
  }
}

void TForm1::MakeRep() {
  if (Form2) dialogs_.runModal(*Form2);
}

void TForm1::ExitKBClick() { close(); }

void TForm1::AboutClick() {
  dialogs_.showAbout(this, q(wintext::kAboutCaption), displayText(wintext::kAboutText));
}

void TForm1::FormClose() {
  if (!kb_->Modified) return;
  if (dialogs_.askWarning(this, q(wintext::kWarningCaption), displayText(wintext::kUnsaved),
                          false) == Dialogs::Reply::Yes)
    SaveKBClick();
}

// Closing during a consultation first ends it: the waiting question is
// cancelled, and the window closes once the run has returned.
void TForm1::closeEvent(QCloseEvent* event) {
  if (engine_.Running()) {
    closeAfterRun_ = true;
    CancelClick();
    event->ignore();
    return;
  }
  FormClose();
  event->accept();
}
