// AnswerDriver and the helpers of the window tests.
#include "window_driver.h"

#include <QTimer>
#include <QtTest>

WindowSet::WindowSet() : form(std::make_unique<TForm1>(dialogs)) {
  form2 = std::make_unique<TForm2>(form.get());
  form->setResultsWindow(form2.get());
  form->show();
  if (!QTest::qWaitForWindowExposed(form.get())) qWarning("main window not exposed");
}

WindowSet::~WindowSet() {
  form->setResultsWindow(nullptr);
  form2.reset();
  // The window may have asked about unsaved changes on closing; nothing
  // more is asked when it goes.
  form->KBase().Modified = false;
  form.reset();
}

AnswerDriver::AnswerDriver(TForm1& form, QStringList actions)
    : form_(form), actions_(std::move(actions)) {
  connect(&form_, &TForm1::questionWaiting, this, &AnswerDriver::onQuestion);
}

// Runs later, inside the question's own event loop, like a user would.
void AnswerDriver::onQuestion() {
  ++questions_;
  QTimer::singleShot(0, this, &AnswerDriver::runUntilAnswered);
}

void AnswerDriver::runUntilAnswered() {
  while (!form_.Answered && !actions_.isEmpty()) {
    const QString a = actions_.takeFirst();
    if (a == QLatin1String("why")) QTest::mouseClick(form_.Why, Qt::LeftButton);
    else if (a == QLatin1String("check"))
      seen_ << QStringLiteral("%1%2").arg(form_.Panel1->isVisible() ? 'P' : 'p')
                   .arg(form_.ToolBar1->isEnabled() ? 'T' : 't');
    else if (a == QLatin1String("yes")) QTest::mouseClick(form_.Yes, Qt::LeftButton);
    else if (a == QLatin1String("no")) QTest::mouseClick(form_.No, Qt::LeftButton);
    else if (a == QLatin1String("cancel")) QTest::mouseClick(form_.Cancel, Qt::LeftButton);
    else if (a.startsWith(QLatin1String("key:"))) typeCharacter(form_.Memo1, a.at(4));
    else if (a.startsWith(QLatin1String("focus:")))
      typeCharacter(QApplication::focusWidget(), a.at(6));
    else if (a.startsWith(QLatin1String("press:"))) pressKey(a.mid(6));
    else if (a == QLatin1String("close")) form_.close();
    else if (a == QLatin1String("clear")) form_.ClearKBClick();
    else if (a == QLatin1String("load")) form_.LoadKBClick();
    else qWarning("unknown action %s", qPrintable(a));
  }
  if (!form_.Answered) {
    // Nothing more prepared: cancel so that the test ends instead of waiting.
    qWarning("question without a prepared answer");
    QTest::mouseClick(form_.Cancel, Qt::LeftButton);
  }
}

// Presses a named key on the widget that has the focus.
void AnswerDriver::pressKey(const QString& name) {
  static const QHash<QString, Qt::Key> keys = {{QStringLiteral("Return"), Qt::Key_Return},
                                               {QStringLiteral("Escape"), Qt::Key_Escape},
                                               {QStringLiteral("F1"), Qt::Key_F1},
                                               {QStringLiteral("Tab"), Qt::Key_Tab}};
  QWidget* focus = QApplication::focusWidget();
  if (!focus || !keys.contains(name)) {
    qWarning("cannot press %s", qPrintable(name));
    return;
  }
  QTest::keyClick(focus, keys.value(name));
}

void typeCharacter(QWidget* widget, QChar ch) {
  if (!widget) {
    qWarning("no widget has the focus");
    return;
  }
  QTest::sendKeyEvent(QTest::Click, widget, static_cast<Qt::Key>(ch.toUpper().unicode()),
                      QString(ch), Qt::NoModifier);
}

QStringList memoLines(const TForm1& form) {
  return form.Memo1->toPlainText().split(QLatin1Char('\n'));
}

static void outline(const QTreeWidgetItem* item, int depth, QStringList& out) {
  out << QString(depth * 2, QLatin1Char(' ')) + item->text(0);
  for (int i = 0; i < item->childCount(); ++i) outline(item->child(i), depth + 1, out);
}

QStringList treeOutline(const QTreeWidget& tree) {
  QStringList out;
  for (int i = 0; i < tree.topLevelItemCount(); ++i) outline(tree.topLevelItem(i), 0, out);
  return out;
}
