// TForm1: building the window, its creation and destruction.
#include "main_window.h"

#include "display_text.h"
#include "qt_text.h"
#include "window_texts.h"

#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QAction>
#include <QIcon>

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
           {q(wintext::kFilterAll), QStringLiteral("*.*")}},
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
                              Qt::WindowCloseButtonHint),
      OpenDialog1(openSpec()),
      SaveDialog1(saveSpec()),
      dialogs_(dialogs),
      errorSink_([this](const std::string& message) {
        ++errorsShown_;
        dialogs_.showError(this, q(wintext::kErrorCaption), displayText(message));
      }) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(q(wintext::kMainCaption));
  resize(kClientWidth, kClientHeight);
  setMinimumSize(kMinWidth, kMinHeight);
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
  Memo1->installEventFilter(this);
  layout->addWidget(Memo1, 1);
  buildPanel(central);
  layout->addWidget(Panel1);
  setCentralWidget(central);
  FormCreate();
}

TForm1::~TForm1() { FormDestroy(); }

QToolButton* TForm1::addToolButton(const char* name, const char* icon, const char* hint,
                                   void (TForm1::*handler)()) {
  // The command is an action, so that the editor's buttons run the very
  // same command (the button's defaultAction()).
  auto* action = new QAction(QIcon(QStringLiteral(":/norvix/") + QString::fromLatin1(icon) +
                                   QStringLiteral(".png")),
                             q(hint), this);
  action->setObjectName(QString::fromLatin1(name) + QStringLiteral("Action"));
  action->setToolTip(q(hint));
  connect(action, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
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
  ClearKB = addToolButton("ClearKB", "clear", wintext::kHintClear, &TForm1::ClearKBClick);
  LoadKB = addToolButton("LoadKB", "load", wintext::kHintLoad, &TForm1::LoadKBClick);
  SaveKB = addToolButton("SaveKB", "save", wintext::kHintSave, &TForm1::SaveKBClick);
  addToolSeparator();
  EditKB = addToolButton("EditKB", "edit", wintext::kHintEdit, &TForm1::EditKBClick);
  QueryKB = addToolButton("QueryKB", "query", wintext::kHintQuery, &TForm1::QueryKBClick);
  ReportKB = addToolButton("ReportKB", "report", wintext::kHintReport, &TForm1::MakeRep);
  buildExplainCommand();
  addToolSeparator();
  ExitKB = addToolButton("ExitKB", "exit", wintext::kHintExit, &TForm1::ExitKBClick);
  ReportKB->setEnabled(false);
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
    button->setFocusPolicy(Qt::NoFocus);  // Memo1 keeps the focus for typed answers
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
  Panel1->hide();
}

void TForm1::FormCreate() {
  kb_ = std::make_unique<norvix::AKBase>();
  QueryKB->setEnabled(false);
}

void TForm1::FormDestroy() { kb_.reset(); }
