// TMainForm: the main window of the Lisp environment, a thin bar with the
// menus, the tool bar and the dock site that takes the terminal (TForm1).
// Menu commands reach the interpreter only as Lisp text run through the
// terminal; the frame browser windows are driven through BrowserHost and
// follow the frame notifications through the signals below.
#pragma once

#include "browser_link.h"
#include "dialogs.h"
#include "frame_events.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QToolBar>
#include <string>

class TForm1;

class TMainForm : public QMainWindow,
                  public velloq_windows::LispRunner,
                  public velloq::FrameEvents {
  Q_OBJECT

 public:
  // Creates the terminal, which reads `settingsPath` and starts the
  // interpreter; installs the window as the frame system's listener.
  explicit TMainForm(Dialogs& dialogs, QWidget* parent = nullptr,
                     const std::string& settingsPath = "velloq.ini");
  ~TMainForm() override;

  // The frame browser windows (may stay unset: their menu items then only
  // keep their ticks).  Connects them to the signals below.
  void setBrowserHost(velloq_windows::BrowserHost* browser);

  // LispRunner.
  void run_lisp(const std::string& text) override;
  bool busy() const override;

  // The names of all frames, in name order.
  const velloq::FrameNameList& frameNames() const { return frameNames_; }
  // The terminal's height remembered while it is undocked or closed.
  int rememberedTerminalHeight() const { return terminalHeight_; }
  // Height of the menu bar and the tool bar together.
  int barHeight() const;

  // Handlers.
  void PerformLispFileClick();
  void RestoreClick();
  void SaveAllClick();
  void PreferencesClick();
  void ExitClick();
  void NewProjectClick();
  void LoadProjectClick();
  void SaveProjectClick();
  void TerminalClick(bool checked);
  void ProjectClick(bool checked);
  void HierarchyClick(bool checked);
  void FrameClick();
  void ToolbarClick();
  void StatusbarClick();
  void AboutClick();
  void BreakClick();

  TForm1* Form1;
  QToolBar* ToolBar1;
  QMenu* FileMenu;
  QMenu* ProjectMenu;
  QMenu* ViewMenu;
  QAction* PerformLispFileAction;
  QAction* RestoreAction;
  QAction* SaveAllAction;
  QAction* PreferencesAction;
  QAction* ExitAction;
  QAction* NewProjectAction;
  QAction* LoadProjectAction;
  QAction* SaveProjectAction;
  QAction* TerminalAction;
  QAction* ProjectAction;
  QAction* HierarchyAction;
  QAction* FrameAction;
  QAction* ToolbarAction;
  QAction* StatusbarAction;
  QAction* AboutAction;
  QAction* BreakAction;

  // FrameEvents: names arrive in Windows-1251.
  void frame_added(const char* name) override;
  void frame_removed(const char* name) override;
  void parent_changed(const char* name, const char* parent) override;

 signals:
  void endBusy();
  void frameAdded(const QString& name);
  void frameRemoved(const QString& name);
  void parentChanged(const QString& name, const QString& parent);

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void createActions();
  void createMenus();
  void createToolBar();
  void dockTerminal();
  void terminalFloated(bool floating);
  void terminalShown(bool visible);
  void fitHeight();
  void growForTerminal();
  void afterBusy();
  void openErrorFrame(const QString& line);
  void restoreAtStart();
  bool saveBeforeExit();

  Dialogs& dialogs_;
  velloq::FrameNameList frameNames_;
  velloq_windows::BrowserHost* browser_ = nullptr;
  int terminalHeight_ = 260;     // the terminal's height when last docked
  bool shownOnce_ = false;
  bool closeAfterBusy_ = false;  // a close waits for the evaluation to end
  bool exitConfirmed_ = false;
};
