// The editor with its main window and scripted dialogs, shown and active,
// and the small hands a test needs: typing, clicking on the page that holds
// a control, reading lists.
#pragma once

#include "edit_form.h"
#include "scripted_dialogs.h"
#include "main_window.h"

#include <QStringList>
#include <memory>
#include <string>

struct EditorSet {
  EditorSet();
  ~EditorSet();
  norvix::AKBase& kb() { return form->KBase(); }

  ScriptedDialogs dialogs;
  std::unique_ptr<TForm1> form;
  std::unique_ptr<TEditForm> editor;
};

// UTF-8 literal to QString, and to Windows-1251 bytes.
QString u(const char* utf8);
std::string w(const char* utf8);

// Makes the page that holds `widget` the current one.
void showPageOf(TEditForm& editor, QWidget* widget);

// A mouse click on a button, on its page.
void click(TEditForm& editor, QAbstractButton* button);

// Replaces a field's text by typing `text` into it, key by key.
void typeInto(TEditForm& editor, QWidget* field, const QString& text);

// Types into the label editor of the tree, which must be open, and ends
// the editing with Enter; the editor has handled the label on return.
void typeLabel(TEditForm& editor, const QString& text);

// Opens the label editor on the node `name` and types `text` into it.
void renameNode(TEditForm& editor, const QString& name, const QString& text);

// Selects the node `name` of the prototype tree by a click.
QTreeWidgetItem* clickNode(TEditForm& editor, const QString& name);

// Chooses `name` in a drop-down box as the user does.
void choose(TEditForm& editor, QComboBox* box, const QString& name);

// Clicks the row `slot` of ListView1 (the value editor opens).
void clickRow(TEditForm& editor, const QString& slot);

// Entries of a list or box, in order; the tree as indented lines.
QStringList entries(const QComboBox* box);
QStringList entries(const QListWidget* list);
QStringList treeLines(const QTreeWidget* tree);
// Rows of ListView1 as "slot=value".
QStringList rows(const TEditForm& editor);

// Texts of the recorded dialog calls, and of the errors alone.
QStringList askedTexts(const ScriptedDialogs& dialogs);
QStringList errorTexts(const ScriptedDialogs& dialogs);
