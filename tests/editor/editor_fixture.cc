// EditorSet and the helpers of the editor tests.
#include "editor_fixture.h"

#include "cp1251.h"

#include <QApplication>
#include <QLineEdit>
#include <QtTest>

EditorSet::EditorSet() : form(std::make_unique<TForm1>(dialogs)) {
  editor = std::make_unique<TEditForm>(*form, dialogs);
  editor->show();
  editor->activateWindow();
  if (!QTest::qWaitForWindowActive(editor.get())) qWarning("editor not active");
}

EditorSet::~EditorSet() {
  editor.reset();
  form->KBase().Modified = false;  // nothing is asked when the window goes
  form.reset();
}

QString u(const char* utf8) { return QString::fromUtf8(utf8); }
std::string w(const char* utf8) { return cp1251::fromUtf8(utf8); }

void showPageOf(TEditForm& editor, QWidget* widget) {
  for (int i = 0; i < editor.Pages->count(); ++i) {
    if (editor.Pages->widget(i)->isAncestorOf(widget)) {
      editor.Pages->setCurrentIndex(i);
      return;
    }
  }
}

void click(TEditForm& editor, QAbstractButton* button) {
  showPageOf(editor, button);
  if (!button->isVisible())
    qWarning("clicking the hidden button %s", qPrintable(button->objectName()));
  // A check box reacts on its box and label only, which sit at its left.
  const QPoint at =
      qobject_cast<QCheckBox*>(button) ? QPoint(8, button->height() / 2) : button->rect().center();
  QTest::mouseClick(button, Qt::LeftButton, {}, at);
  QCoreApplication::processEvents();
}

// QTest::keyClicks takes Latin-1 only: each character goes as a key press
// carrying its text.
static void typeText(QWidget* widget, const QString& text) {
  for (QChar ch : text) {
    const Qt::Key key =
        ch == QLatin1Char('\n') ? Qt::Key_Return : static_cast<Qt::Key>(ch.toUpper().unicode());
    QTest::sendKeyEvent(QTest::Click, widget, key, QString(ch), Qt::NoModifier);
  }
}

void typeInto(TEditForm& editor, QWidget* field, const QString& text) {
  showPageOf(editor, field);
  if (auto* box = qobject_cast<QComboBox*>(field); box && box->lineEdit()) field = box->lineEdit();
  field->setFocus();
  QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
  if (text.isEmpty())
    QTest::keyClick(field, Qt::Key_Delete);
  else
    typeText(field, text);
}

void typeLabel(TEditForm& editor, const QString& text) {
  auto* line = qobject_cast<QLineEdit*>(QApplication::focusWidget());
  if (!line || !editor.ProtoList->isAncestorOf(line)) {
    qWarning("no label editor is open");
    return;
  }
  QTest::keyClick(line, Qt::Key_A, Qt::ControlModifier);
  typeText(line, text);
  QTest::keyClick(line, Qt::Key_Return);
  // The view commits the label by a posted call, and the editor takes it
  // in a posted call of its own.
  for (int round = 0; round < 3; ++round) QCoreApplication::processEvents();
}

QTreeWidgetItem* clickNode(TEditForm& editor, const QString& name) {
  showPageOf(editor, editor.ProtoList);
  QTreeWidgetItem* node = editor.FindTreeNode(name);
  if (!node) {
    qWarning("no node %s", qPrintable(name));
    return nullptr;
  }
  // A click on the selected node would open its label for editing.
  if (editor.ProtoList->currentItem() == node) return node;
  for (QTreeWidgetItem* up = node->parent(); up; up = up->parent()) up->setExpanded(true);
  editor.ProtoList->scrollToItem(node);
  QCoreApplication::processEvents();
  const QRect rect = editor.ProtoList->visualItemRect(node);
  // On the label's start: the row may be wider than the view.
  QTest::mouseClick(editor.ProtoList->viewport(), Qt::LeftButton, {},
                    QPoint(rect.left() + 8, rect.center().y()));
  QCoreApplication::processEvents();
  return node;
}

void renameNode(TEditForm& editor, const QString& name, const QString& text) {
  QTreeWidgetItem* node = clickNode(editor, name);
  if (!node) return;
  editor.ProtoList->setFocus();
  QTest::keyClick(editor.ProtoList, Qt::Key_F2);  // the edit key
  typeLabel(editor, text);
}

void choose(TEditForm& editor, QComboBox* box, const QString& name) {
  showPageOf(editor, box);
  const int index = box->findText(name);
  if (index < 0) {
    qWarning("%s does not list %s", qPrintable(box->objectName()), qPrintable(name));
    return;
  }
  box->setCurrentIndex(index);
  emit box->activated(index);  // what a choice from the drop-down list fires
}

void clickRow(TEditForm& editor, const QString& slot) {
  showPageOf(editor, editor.ListView1);
  for (int i = 0; i < editor.ListView1->topLevelItemCount(); ++i) {
    QTreeWidgetItem* row = editor.ListView1->topLevelItem(i);
    if (row->text(0) != slot) continue;
    const QRect rect = editor.ListView1->visualItemRect(row);
    QTest::mouseClick(editor.ListView1->viewport(), Qt::LeftButton, {}, rect.center());
    return;
  }
  qWarning("no row %s", qPrintable(slot));
}

QStringList entries(const QComboBox* box) {
  QStringList out;
  for (int i = 0; i < box->count(); ++i) out << box->itemText(i);
  return out;
}

QStringList entries(const QListWidget* list) {
  QStringList out;
  for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
  return out;
}

static void outline(const QTreeWidgetItem* item, int depth, QStringList& out) {
  out << QString(depth * 2, QLatin1Char(' ')) + item->text(0);
  for (int i = 0; i < item->childCount(); ++i) outline(item->child(i), depth + 1, out);
}

QStringList treeLines(const QTreeWidget* tree) {
  QStringList out;
  for (int i = 0; i < tree->topLevelItemCount(); ++i) outline(tree->topLevelItem(i), 0, out);
  return out;
}

QStringList rows(const TEditForm& editor) {
  QStringList out;
  for (int i = 0; i < editor.ListView1->topLevelItemCount(); ++i) {
    const QTreeWidgetItem* row = editor.ListView1->topLevelItem(i);
    out << row->text(0) + QLatin1Char('=') + row->text(1);
  }
  return out;
}

QStringList askedTexts(const ScriptedDialogs& dialogs) {
  QStringList out;
  for (const auto& call : dialogs.calls()) out << call.text;
  return out;
}

QStringList errorTexts(const ScriptedDialogs& dialogs) {
  QStringList out;
  for (const auto& call : dialogs.calls())
    if (call.kind == ScriptedDialogs::Kind::Error) out << call.text;
  return out;
}
