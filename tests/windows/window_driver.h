// Drives a TForm1 the way a user does: prepared actions are carried out,
// with real clicks and key presses, each time a question waits.
#pragma once

#include "scripted_dialogs.h"
#include "main_window.h"
#include "results_window.h"

#include <QObject>
#include <QStringList>
#include <memory>

// The main window with its results window and scripted dialogs.
struct WindowSet {
  WindowSet();
  ~WindowSet();
  ScriptedDialogs dialogs;
  std::unique_ptr<TForm1> form;
  std::unique_ptr<TForm2> form2;
};

// Actions, one word each:
//   "yes" "no" "cancel" "why"   click that button of Panel1
//   "key:д" (any one character) type it into Memo1
//   "focus:д"                   type it into whatever has the focus
//   "press:Return" (Escape, F1, Tab)  press that key where the focus is
//   "close"                     close the main window
//   "clear" "load"              run ClearKBClick or LoadKBClick directly, as
//                               the editor's buttons do
//   "check"                     record the state of the window (see seen)
// On every question the actions run in order until the window's Answered
// flag is set; when they run out first, Cancel is clicked.
class AnswerDriver : public QObject {
 public:
  AnswerDriver(TForm1& form, QStringList actions);

  int questions() const { return questions_; }
  const QStringList& left() const { return actions_; }
  // What "check" saw: panel visible, toolbar enabled, one letter each.
  const QStringList& seen() const { return seen_; }

 private:
  void onQuestion();
  void runUntilAnswered();
  void pressKey(const QString& name);

  TForm1& form_;
  QStringList actions_;
  QStringList seen_;
  int questions_ = 0;
};

// Types one character into `widget` as a key press with that text.
void typeCharacter(QWidget* widget, QChar ch);

// Memo1's text as lines.
QStringList memoLines(const TForm1& form);

// The lines of a tree, depth first, indented by two blanks per level.
QStringList treeOutline(const QTreeWidget& tree);
