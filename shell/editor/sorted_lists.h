// The editor's list boxes and drop-down boxes keep their entries sorted by
// name, letter case ignored (Cyrillic included), and find an entry by name
// ignoring case, as the toolkit's sorted lists do.  Changing the entries
// never fires the controls' signals and never changes what a box shows:
// its chosen entry, or its typed text, stays as it was.
#pragma once

#include <QString>
#include <QStringList>

class QComboBox;
class QListWidget;

namespace sorted {

// The order of entries: letter case ignored, then byte order.
bool lessNoCase(const QString& a, const QString& b);

// Position of `text` ignoring letter case; -1 when it is not listed.
int find(const QListWidget* list, const QString& text);
int find(const QComboBox* box, const QString& text);

// Inserts `text` at its place and returns that position.
int insert(QListWidget* list, const QString& text);
int insert(QComboBox* box, const QString& text);

// Replaces all entries by `names`, sorted; nothing is chosen afterwards in a
// list, and a box keeps its typed text (editable) or has no choice.
void fill(QListWidget* list, QStringList names);
void fill(QComboBox* box, QStringList names);

// Removes entry `index`; a removed chosen entry leaves no choice behind.
void remove(QListWidget* list, int index);
void remove(QComboBox* box, int index);

// Removes one entry for each of `names` (the first that matches ignoring
// letter case), in one pass however many there are; a chosen entry that
// stays is still chosen.
void removeEach(QComboBox* box, const QStringList& names);

// Removes every entry; an editable box keeps its typed text.
void clear(QComboBox* box);

// The selected entry of a list, -1 when none; selecting -1 selects nothing.
// Selecting fires no signal: only the user's choices reach the handlers.
int selected(const QListWidget* list);
void select(QListWidget* list, int row);
void select(QComboBox* box, int index);

}  // namespace sorted
