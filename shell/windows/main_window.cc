// TForm1: building the window, its creation and destruction.
#include "main_window.h"

#include "display_text.h"
#include "qt_text.h"
#include "window_texts.h"

#include <QActionGroup>
#include <QHBoxLayout>
#include <QIcon>
#include <QMenuBar>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {
constexpr int kClientWidth = 626, kClientHeight = 475;
constexpr int kMinWidth = 450, kMinHeight = 300;
constexpr int kButtonWidth = 30;
constexpr int kSeparatorWidth = 8;
constexpr int kPanelHeight = 40;
constexpr int kIconSize = 24;

QString q(const char* cp1251Text) { return cp1251::toQString(cp1251Text); }

// The fixed-pitch font of Memo1; DejaVu Sans Mono holds Cyrillic.
QFont memoFont() {
  QFont font(QStringLiteral("DejaVu Sans Mono"), 10);
  font.setStyleHint(QFont::Monospace);
  font.setFixedPitch(true);
  return font;
}

FileDialogSpec openSpec() {
  return {q(wintext::kOpenTitle),
          {{q(wintext::kFilterKb), QStringLiteral("*.dat")},
           {q(wintext::kFilterTxtOpen), QStringLiteral("*.txt")},
           {q(wintext::kFilterAll), q(wintext::kFilterAllPattern)}},
          q(wintext::kDefaultExt)};
}

FileDialogSpec saveSpec() {
  return {q(wintext::kSaveTitle),
          {{q(wintext::kFilterKb), QStringLiteral("*.dat")},
           {q(wintext::kFilterTxtSave), QStringLiteral("*.txt")}},
          q(wintext::kDefaultExt)};
}
}  // namespace

TForm1::TForm1(Dialogs& dialogs, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint),
      OpenDialog1(openSpec()),
      SaveDialog1(saveSpec()),
      dialogs_(dialogs),
      errorSink_([this](const std::string& message) {
        ++errorsShown_;
        dialogs_.showError(this, q(wintext::kErrorCaption), displayText(message));
      }) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(q(wintext::kMainCaption));
  setWindowIcon(QIcon(QStringLiteral(":/norvix/norvix.png")));
  resize(kClientWidth, kClientHeight);
  setMinimumSize(kMinWidth, kMinHeight);
  buildActions();
  buildMenus();
  buildToolBar();

  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  Memo1 = new QPlainTextEdit(central);
  Memo1->setObjectName(QStringLiteral("Memo1"));
  Memo1->setReadOnly(true);
  Memo1->setFont(memoFont());
  Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo1->setFocusPolicy(Qt::StrongFocus);
  Memo1->setTabChangesFocus(true);
  Memo1->installEventFilter(this);
  connect(Memo1->verticalScrollBar(), &QScrollBar::rangeChanged, this, &TForm1::followOutput);
  connect(Memo1->verticalScrollBar(), &QScrollBar::valueChanged, this,
          [this](int value) { atNewestOutput_ = value == Memo1->verticalScrollBar()->maximum(); });
  layout->addWidget(Memo1, 1);
  buildPanel(central);
  layout->addWidget(Panel1);
  setCentralWidget(central);
  FormCreate();
}

TForm1::~TForm1() { FormDestroy(); }

// One command: its menu text, icon, and a tooltip in Russian with the
// shortcut, followed by the tool button's given hint.
QAction* TForm1::addCommand(const char* text, const char* icon, const char* tip,
                            const char* hint, const QKeySequence& shortcut,
                            void (TForm1::*handler)()) {
  auto* action = new QAction(q(text), this);
  if (icon)
    action->setIcon(QIcon(QStringLiteral(":/norvix/") + QString::fromLatin1(icon) +
                          QStringLiteral(".png")));
  QString toolTip = q(tip);
  if (!shortcut.isEmpty())
    toolTip += QStringLiteral(" (") + shortcut.toString(QKeySequence::NativeText) +
               QStringLiteral(")");
  if (hint) toolTip += QLatin1Char('\n') + q(hint);
  action->setToolTip(toolTip);
  action->setShortcut(shortcut);
  commands_->addAction(action);
  connect(action, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
  return action;
}

void TForm1::buildActions() {
  commands_ = new QActionGroup(this);
  commands_->setExclusionPolicy(QActionGroup::ExclusionPolicy::None);
  using K = QKeySequence;
  ClearAction = addCommand(wintext::kActClear, "clear", wintext::kTipClear, wintext::kHintClear,
                           K(Qt::CTRL | Qt::Key_N), &TForm1::ClearKBClick);
  LoadAction = addCommand(wintext::kActLoad, "load", wintext::kTipLoad, wintext::kHintLoad,
                          K(Qt::CTRL | Qt::Key_O), &TForm1::LoadKBClick);
  SaveAction = addCommand(wintext::kActSave, "save", wintext::kTipSave, wintext::kHintSave,
                          K(Qt::CTRL | Qt::Key_S), &TForm1::SaveKBClick);
  ExitAction = addCommand(wintext::kActExit, "exit", wintext::kTipExit, wintext::kHintExit,
                          K(Qt::CTRL | Qt::Key_Q), &TForm1::ExitKBClick);
  EditAction = addCommand(wintext::kActEdit, "edit", wintext::kTipEdit, wintext::kHintEdit,
                          K(Qt::CTRL | Qt::Key_E), &TForm1::EditKBClick);
  QueryAction = addCommand(wintext::kActQuery, "query", wintext::kTipQuery, wintext::kHintQuery,
                           K(Qt::Key_F5), &TForm1::QueryKBClick);
  ReportAction = addCommand(wintext::kActReport, "report", wintext::kTipReport,
                            wintext::kHintReport, K(Qt::CTRL | Qt::Key_R), &TForm1::MakeRep);
  AboutAction = addCommand(wintext::kActAbout, nullptr, wintext::kAboutCaption, nullptr, K(),
                           &TForm1::AboutClick);
  for (QAction* action : commands_->actions()) action->setMenuRole(QAction::NoRole);
}

void TForm1::buildMenus() {
  FileMenu = menuBar()->addMenu(q(wintext::kMenuFile));
  FileMenu->addActions({ClearAction, LoadAction, SaveAction});
  FileMenu->addSeparator();
  FileMenu->addAction(ExitAction);
  BaseMenu = menuBar()->addMenu(q(wintext::kMenuBase));
  BaseMenu->addActions({EditAction, QueryAction, ReportAction});
  HelpMenu = menuBar()->addMenu(q(wintext::kMenuHelp));
  HelpMenu->addAction(AboutAction);
  for (QMenu* menu : {FileMenu, BaseMenu, HelpMenu}) menu->setToolTipsVisible(true);
}

QToolButton* TForm1::addToolButton(const char* name, QAction* action) {
  auto* button = new QToolButton(ToolBar1);
  button->setObjectName(QString::fromLatin1(name));
  button->setDefaultAction(action);
  button->setAutoRaise(true);  // flat
  button->setFixedWidth(kButtonWidth);
  button->setIconSize(QSize(kIconSize, kIconSize));
  ToolBar1->addWidget(button);
  return button;
}

void TForm1::addToolSeparator() {
  auto* line = new QFrame(ToolBar1);
  line->setFrameShape(QFrame::VLine);
  line->setFrameShadow(QFrame::Sunken);
  line->setFixedWidth(kSeparatorWidth);
  ToolBar1->addWidget(line);
}

void TForm1::buildToolBar() {
  ToolBar1 = new QToolBar(this);
  ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
  ToolBar1->setMovable(false);
  ToolBar1->setFloatable(false);
  ToolBar1->setIconSize(QSize(kIconSize, kIconSize));
  ToolBar1->setContextMenuPolicy(Qt::PreventContextMenu);
  addToolBar(Qt::TopToolBarArea, ToolBar1);
  ClearKB = addToolButton("ClearKB", ClearAction);
  LoadKB = addToolButton("LoadKB", LoadAction);
  SaveKB = addToolButton("SaveKB", SaveAction);
  addToolSeparator();
  EditKB = addToolButton("EditKB", EditAction);
  QueryKB = addToolButton("QueryKB", QueryAction);
  ReportKB = addToolButton("ReportKB", ReportAction);
  buildExplainCommand();
  addToolSeparator();
  ExitKB = addToolButton("ExitKB", ExitAction);
  ReportAction->setEnabled(false);
}

void TForm1::buildPanel(QWidget* parent) {
  Panel1 = new QFrame(parent);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setFrameShape(QFrame::Panel);
  Panel1->setFrameShadow(QFrame::Raised);
  Panel1->setFixedHeight(kPanelHeight);
  auto makeButton = [this](const char* name, const char* caption, void (TForm1::*handler)()) {
    auto* button = new QPushButton(q(caption), Panel1);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    button->setFocusPolicy(Qt::StrongFocus);  // Tab reaches them; Enter answers
    button->installEventFilter(this);
    connect(button, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
    return button;
  };
  Why = makeButton("Why", wintext::kWhy, &TForm1::WhyClick);
  Cancel = makeButton("Cancel", wintext::kCancel, &TForm1::CancelClick);
  Yes = makeButton("Yes", wintext::kYes, &TForm1::YesClick);
  No = makeButton("No", wintext::kNo, &TForm1::NoClick);
  auto* row = new QHBoxLayout(Panel1);
  row->setContentsMargins(6, 4, 6, 4);
  row->addWidget(Why);
  row->addWidget(Cancel);
  row->addStretch(1);
  row->addWidget(Yes);
  row->addWidget(No);
  setTabOrder(Memo1, Why);
  setTabOrder(Why, Cancel);
  setTabOrder(Cancel, Yes);
  setTabOrder(Yes, No);
  Panel1->hide();
}

void TForm1::FormCreate() {
  kb_ = std::make_unique<norvix::AKBase>();
  QueryAction->setEnabled(false);
}

// A window that showed its newest line keeps showing it when the text grows
// or the window shrinks.
void TForm1::followOutput(int, int max) {
  if (atNewestOutput_) Memo1->verticalScrollBar()->setValue(max);
}

void TForm1::FormDestroy() { kb_.reset(); }
