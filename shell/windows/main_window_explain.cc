// TForm1: the explanation command.  It is enabled once a consultation has
// run and shows what that run's log says; replacing the knowledge base or
// starting the next run disables it again.
#include "main_window.h"

#include "explanation_texts.h"
#include "explanation_window.h"
#include "qt_text.h"

#include <QAction>
#include <QMenu>
#include <QToolButton>

void TForm1::buildExplainCommand() {
  ExplainKB = new QAction(cp1251::toQString(explaintext::kCommand), this);
  ExplainKB->setObjectName(QStringLiteral("ExplainKBAction"));
  ExplainKB->setToolTip(cp1251::toQString(explaintext::kHint));
  ExplainKB->setEnabled(false);
  connect(ExplainKB, &QAction::triggered, this, &TForm1::ExplainClick);
  // Without an icon the tool button shows the command's text.
  auto* button = new QToolButton(ToolBar1);
  button->setObjectName(QStringLiteral("ExplainKB"));
  button->setDefaultAction(ExplainKB);
  button->setAutoRaise(true);
  ToolBar1->addWidget(button);
  BaseMenu->addAction(ExplainKB);
}

void TForm1::keepExplanation() {
  lastExplanation_ = norvix::Explain(engine_.Log(), engine_.Tree());
  ExplainKB->setEnabled(true);
}

void TForm1::forgetExplanation() {
  lastExplanation_ = {};
  ExplainKB->setEnabled(false);
}

void TForm1::ExplainClick() {
  if (!ExplainKB->isEnabled() || engine_.Running()) return;
  TExplainForm form(lastExplanation_, this);
  dialogs_.runModal(form);
}
