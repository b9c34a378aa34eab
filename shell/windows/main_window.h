// TForm1: the main window of Norvix.  It owns the current knowledge base,
// offers the toolbar commands, and is the window the consultation engine
// talks to: the dialog appears in Memo1, answers come from Panel1's buttons
// or from keys typed into Memo1.
#pragma once

#include "dialogs.h"
#include "engine.h"
#include "engine_host.h"
#include "error_sink.h"
#include "explanation.h"
#include "kbase.h"

#include <QAction>
#include <QFrame>
#include <QHash>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>
#include <memory>

class EditorLink;
class QActionGroup;
class QAction;
class QEventLoop;
class QKeyEvent;
class QMenu;
class QTreeWidgetItem;
class TForm2;

class TForm1 : public QMainWindow, public norvix::EngineHost {
  Q_OBJECT

 public:
  // Every dialog goes through `dialogs`, which must outlive the window.
  explicit TForm1(Dialogs& dialogs, QWidget* parent = nullptr);
  ~TForm1() override;

  // The windows the main window works with; both may stay unset.
  void setResultsWindow(TForm2* form) { Form2 = form; }
  void setEditor(EditorLink* editor) { editor_ = editor; }

  // The current knowledge base (the editor writes into it directly).
  norvix::AKBase& KBase() { return *kb_; }
  const norvix::Engine& ConsultEngine() const { return engine_; }

  // Loads `fileName` (bytes for the operating system) as the load command
  // does after its dialog; `shownName` is how the load line names it.
  bool LoadFile(const std::string& fileName, const std::string& shownName);

  // Caption from the project name; QueryKB enabled exactly when the base
  // has a target.  The editor calls these when it changes either.
  void UpdateCaption();
  void UpdateQueryButton();

  // True while a question waits for its answer.
  bool Waiting() const { return waitLoop_ != nullptr; }

  // Handlers.
  void FormCreate();
  void ClearKBClick();
  void LoadKBClick();
  void SaveKBClick();
  void EditKBClick();
  void QueryKBClick();
  void MakeRep();
  // Opens the explanation of the last consultation (enabled after one).
  void ExplainClick();
  void ExitKBClick();
  void WhyClick();
  void YesClick();
  void NoClick();
  void CancelClick();
  // One typed character (Windows-1251); true when it was an answer key.
  bool Memo1KeyPress(unsigned char key);
  // The about box: name, version and licence.
  void AboutClick();
  void FormClose();
  void FormDestroy();

  // The only ways text reaches Memo1 (Windows-1251).
  void PrintLine(const std::string& text) override;
  void AppendToLastLine(const std::string& text);

  // The engine's side of the window.
  norvix::Reply Ask(const std::string& line) override;
  void ShowAnswerPanel(bool visible) override;
  void EnableToolbar(bool enabled) override;
  void EnableReportButton(bool enabled) override;
  void ClearTree() override;
  void AddChild(const norvix::ResultNode* parent, const norvix::ResultNode& node) override;

  // Controls, named as in the form.
  QToolBar* ToolBar1;
  QToolButton* ClearKB;
  QToolButton* LoadKB;
  QToolButton* SaveKB;
  QToolButton* EditKB;
  QToolButton* QueryKB;
  QToolButton* ReportKB;
  QToolButton* ExitKB;
  QAction* ExplainKB = nullptr;
  QPlainTextEdit* Memo1;
  QFrame* Panel1;
  QPushButton* Why;
  QPushButton* Cancel;
  QPushButton* Yes;
  QPushButton* No;
  // The commands, shared by the tool buttons above and the menu bar.
  QAction* ClearAction;
  QAction* LoadAction;
  QAction* SaveAction;
  QAction* ExitAction;
  QAction* EditAction;
  QAction* QueryAction;
  QAction* ReportAction;
  QAction* AboutAction;
  QMenu* FileMenu;
  QMenu* BaseMenu;
  QMenu* HelpMenu;

  FileDialogSpec OpenDialog1;
  FileDialogSpec SaveDialog1;
  TForm2* Form2 = nullptr;

  // The dialog flags of the consultation.
  bool Answered = false;
  bool Answer = false;
  bool Cancelled = false;

 signals:
  // A question has been printed and its wait begins.
  void questionWaiting();

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildActions();
  void buildMenus();
  void buildToolBar();
  void buildPanel(QWidget* parent);
  QAction* addCommand(const char* text, const char* icon, const char* tip, const char* hint,
                      const QKeySequence& shortcut, void (TForm1::*handler)());
  QToolButton* addToolButton(const char* name, QAction* action);
  bool answerKey(QWidget* target, const QKeyEvent& key);
  void followOutput(int min, int max);
  void addToolSeparator();
  void replaceKBase();
  bool ConfirmDiscard();
  bool SaveKnowledgeBase();
  void endWait();
  // The explanation command (main_window_explain.cc).
  void buildExplainCommand();
  void keepExplanation();
  void forgetExplanation();

  Dialogs& dialogs_;
  norvix::ScopedErrorSink errorSink_;
  std::unique_ptr<norvix::AKBase> kb_;
  norvix::Engine engine_{*this};
  EditorLink* editor_ = nullptr;
  QActionGroup* commands_ = nullptr;  // disabled as one while a consultation runs
  QEventLoop* waitLoop_ = nullptr;
  bool atNewestOutput_ = true;  // Memo1 shows its last line
  bool closeAfterRun_ = false;
  int errorsShown_ = 0;  // messages shown through the error sink
  QHash<const norvix::ResultNode*, QTreeWidgetItem*> treeItems_;
  // The last run, explained as plain text: it stays valid while the editor
  // changes or deletes the frames the engine's log points to.
  norvix::Explanation lastExplanation_;
};
