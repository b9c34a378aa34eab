// The main window: its actions, menus, tool bar and the docked terminal
// with the height rules of the dock site.
#include "main_form.h"

#include "cp1251.h"
#include "qt_text.h"
#include "terminal_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QStyle>
#include <QTimer>

namespace {

// Each visible docked window gets at least this much of the main window.
const int kDockedWindowHeight = 130;

}  // namespace

TMainForm::TMainForm(Dialogs& dialogs, QWidget* parent, const std::string& settingsPath)
    : QMainWindow(parent), dialogs_(dialogs) {
  setObjectName(QStringLiteral("MainForm"));
  setWindowTitle(QStringLiteral("Velloq"));
  setDockOptions(QMainWindow::AnimatedDocks | QMainWindow::AllowNestedDocks);
  velloq::set_frame_events(this);
  createActions();
  createMenus();
  createToolBar();
  Form1 = new TForm1(dialogs_, this, settingsPath);
  dockTerminal();
  resize(720, barHeight() + terminalHeight_);
  fitHeight();
}

// The terminal's signals are cut first: tearing the widgets down hides
// the terminal, and this window is no longer one to hear of it.
TMainForm::~TMainForm() {
  Form1->disconnect(this);
  Form1->stopSession();
  velloq::set_frame_events(nullptr);
}

void TMainForm::createActions() {
  auto make = [this](const char* caption, QStyle::StandardPixmap icon, QKeySequence key) {
    auto* action = new QAction(style()->standardIcon(icon), QString::fromLatin1(caption), this);
    action->setShortcut(key);
    action->setMenuRole(QAction::NoRole);
    return action;
  };
  const QKeySequence none;
  PerformLispFileAction = make("Perform &lisp file", QStyle::SP_DialogOpenButton, QKeySequence(Qt::CTRL | Qt::Key_L));
  RestoreAction = make("&Restore", QStyle::SP_BrowserReload, none);
  SaveAllAction = make("&Save all", QStyle::SP_DialogSaveButton, QKeySequence(Qt::CTRL | Qt::Key_S));
  PreferencesAction = make("&Preferences...", QStyle::SP_FileDialogDetailedView,
                           QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_P));
  ExitAction = make("E&xit", QStyle::SP_DialogCloseButton, none);
  NewProjectAction = make("&New project", QStyle::SP_FileIcon, none);
  LoadProjectAction = make("&Load project", QStyle::SP_DirOpenIcon, none);
  SaveProjectAction = make("&Save project", QStyle::SP_DriveFDIcon, none);
  TerminalAction = make("&Terminal", QStyle::SP_ComputerIcon, QKeySequence(Qt::CTRL | Qt::Key_T));
  ProjectAction = make("&Project", QStyle::SP_FileDialogListView, QKeySequence(Qt::CTRL | Qt::Key_P));
  HierarchyAction = make("&Hierarchy", QStyle::SP_DirIcon, QKeySequence(Qt::CTRL | Qt::Key_H));
  FrameAction = make("&Frame", QStyle::SP_FileDialogContentsView, QKeySequence(Qt::CTRL | Qt::Key_F));
  ToolbarAction = make("&Toolbar", QStyle::SP_TitleBarShadeButton, none);
  StatusbarAction = make("&Statusbar", QStyle::SP_TitleBarUnshadeButton, none);
  // No icon: the menu bar would show the icon instead of the caption.
  AboutAction = new QAction(QStringLiteral("&About"), this);
  AboutAction->setMenuRole(QAction::NoRole);
  BreakAction = make("&Break", QStyle::SP_BrowserStop, none);
  BreakAction->setToolTip(QStringLiteral("Break the running evaluation (Esc)"));
  BreakAction->setEnabled(false);
  for (QAction* tick : {TerminalAction, ProjectAction, HierarchyAction}) tick->setCheckable(true);
  TerminalAction->setChecked(true);
  HierarchyAction->setChecked(true);

  connect(PerformLispFileAction, &QAction::triggered, this, &TMainForm::PerformLispFileClick);
  connect(RestoreAction, &QAction::triggered, this, &TMainForm::RestoreClick);
  connect(SaveAllAction, &QAction::triggered, this, &TMainForm::SaveAllClick);
  connect(PreferencesAction, &QAction::triggered, this, &TMainForm::PreferencesClick);
  connect(ExitAction, &QAction::triggered, this, &TMainForm::ExitClick);
  connect(NewProjectAction, &QAction::triggered, this, &TMainForm::NewProjectClick);
  connect(LoadProjectAction, &QAction::triggered, this, &TMainForm::LoadProjectClick);
  connect(SaveProjectAction, &QAction::triggered, this, &TMainForm::SaveProjectClick);
  connect(TerminalAction, &QAction::triggered, this, &TMainForm::TerminalClick);
  connect(ProjectAction, &QAction::triggered, this, &TMainForm::ProjectClick);
  connect(HierarchyAction, &QAction::triggered, this, &TMainForm::HierarchyClick);
  connect(FrameAction, &QAction::triggered, this, &TMainForm::FrameClick);
  connect(ToolbarAction, &QAction::triggered, this, &TMainForm::ToolbarClick);
  connect(StatusbarAction, &QAction::triggered, this, &TMainForm::StatusbarClick);
  connect(AboutAction, &QAction::triggered, this, &TMainForm::AboutClick);
  connect(BreakAction, &QAction::triggered, this, &TMainForm::BreakClick);
}

void TMainForm::createMenus() {
  FileMenu = menuBar()->addMenu(QStringLiteral("File"));
  FileMenu->addActions({PerformLispFileAction, RestoreAction, SaveAllAction});
  FileMenu->addSeparator();
  FileMenu->addAction(PreferencesAction);
  FileMenu->addSeparator();
  FileMenu->addAction(ExitAction);
  ProjectMenu = menuBar()->addMenu(QStringLiteral("Project"));
  ProjectMenu->addActions({NewProjectAction, LoadProjectAction, SaveProjectAction});
  ViewMenu = menuBar()->addMenu(QStringLiteral("View"));
  ViewMenu->addActions({TerminalAction, ProjectAction, HierarchyAction, FrameAction});
  ViewMenu->addSeparator();
  ViewMenu->addActions({ToolbarAction, StatusbarAction});
  menuBar()->addAction(AboutAction);
}

void TMainForm::createToolBar() {
  ToolBar1 = addToolBar(QStringLiteral("Commands"));
  ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
  ToolBar1->setMovable(false);
  ToolBar1->setIconSize(QSize(20, 20));
  ToolBar1->addActions({PerformLispFileAction, RestoreAction, SaveAllAction});
  ToolBar1->addSeparator();
  ToolBar1->addActions({TerminalAction, HierarchyAction, ProjectAction, FrameAction});
  ToolBar1->addSeparator();
  ToolBar1->addActions({BreakAction, PreferencesAction});
}

void TMainForm::dockTerminal() {
  addDockWidget(Qt::TopDockWidgetArea, Form1);
  connect(Form1, &QDockWidget::topLevelChanged, this, &TMainForm::terminalFloated);
  connect(Form1, &QDockWidget::visibilityChanged, this, &TMainForm::terminalShown);
  connect(Form1, &TForm1::busyStarted, this, [this] { BreakAction->setEnabled(true); });
  connect(Form1, &TForm1::busyEnded, this, &TMainForm::afterBusy);
  connect(Form1, &TForm1::sessionEnded, this, &QWidget::close, Qt::QueuedConnection);
  connect(Form1, &TForm1::errorLineClicked, this, &TMainForm::openErrorFrame);
}

void TMainForm::setBrowserHost(velloq_windows::BrowserHost* browser) {
  browser_ = browser;
  if (!browser_) return;
  browser_->connectTo(this);
  browser_->showHierarchy(HierarchyAction->isChecked());
  browser_->showProject(ProjectAction->isChecked());
}

int TMainForm::barHeight() const {
  int h = menuBar()->sizeHint().height();
  if (ToolBar1->isVisibleTo(this)) h += ToolBar1->sizeHint().height();
  return h;
}

// Nothing docked: the window is only its bars.  Docked windows: 130 px at
// least for each one shown.
void TMainForm::fitHeight() {
  int docked = 0;
  for (QDockWidget* dock : findChildren<QDockWidget*>())
    if (!dock->isFloating() && dock->isVisibleTo(this)) docked++;
  if (docked == 0) {
    setFixedHeight(barHeight());
    return;
  }
  setMinimumHeight(barHeight() + kDockedWindowHeight * docked);
  setMaximumHeight(QWIDGETSIZE_MAX);
}

// Undocked: its height is remembered and the main window shrinks to its
// bars; docked again: the main window grows by that height.
void TMainForm::terminalFloated(bool floating) {
  if (floating) {
    terminalHeight_ = std::max(Form1->height(), kDockedWindowHeight);
    fitHeight();
  } else {
    growForTerminal();
  }
}

// The terminal docked again: the window grows by its remembered height.
void TMainForm::growForTerminal() {
  fitHeight();
  resize(width(), barHeight() + terminalHeight_);
}

void TMainForm::terminalShown(bool visible) {
  TerminalAction->setChecked(visible);
  if (Form1->isFloating()) return;
  if (!visible) {
    if (Form1->height() > 0) terminalHeight_ = std::max(Form1->height(), kDockedWindowHeight);
    fitHeight();
  } else if (height() < barHeight() + kDockedWindowHeight) {
    growForTerminal();
  } else {
    fitHeight();
  }
}

// FrameEvents: the list of names is kept here; the browser windows hear
// of each change through the signals.
void TMainForm::frame_added(const char* name) {
  frameNames_.frame_added(name);
  emit frameAdded(cp1251::toQString(name));
}

void TMainForm::frame_removed(const char* name) {
  frameNames_.frame_removed(name);
  emit frameRemoved(cp1251::toQString(name));
}

void TMainForm::parent_changed(const char* name, const char* parent) {
  emit parentChanged(cp1251::toQString(name), cp1251::toQString(parent));
}

void TMainForm::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (shownOnce_) return;
  shownOnce_ = true;
  QTimer::singleShot(0, this, &TMainForm::restoreAtStart);
}

void TMainForm::restoreAtStart() {
  if (Form1->running() && !busy()) Form1->session().restore_if_asked();
}

// Keys typed while the main window has the focus go to the terminal's
// input: Backspace, Enter and Escape, and characters when it takes them.
void TMainForm::keyPressEvent(QKeyEvent* event) {
  const bool plain = (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) == 0;
  const int key = event->key();
  if (plain && key == Qt::Key_Escape && busy()) {
    Form1->requestBreak();
    return;
  }
  const bool control = plain && (key == Qt::Key_Backspace || key == Qt::Key_Return ||
                                 key == Qt::Key_Enter || key == Qt::Key_Escape);
  const bool typed = !event->text().isEmpty() && event->text()[0].isPrint() &&
                     (!busy() || Form1->awaitingInput());
  if (Form1->isVisible() && (control || typed)) {
    Form1->Input->setFocus();
    QKeyEvent copy(event->type(), key, event->modifiers(), event->text());
    QApplication::sendEvent(Form1->Input, &copy);
    return;
  }
  QMainWindow::keyPressEvent(event);
}
