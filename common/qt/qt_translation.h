// Qt's own texts (the buttons of message boxes, file dialogs, the context
// menu of text fields) in the user's language.
#pragma once

class QCoreApplication;
class QLocale;

// Loads Qt's base translation for `locale` from Qt's translations folder and
// installs it in `app`, which owns it from then on.  Returns false (and
// changes nothing) when there is none for that language, as for English.
bool installQtTranslation(QCoreApplication& app, const QLocale& locale);
