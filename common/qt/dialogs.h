// Every message box, question, file dialog and modal window of the windowed
// programs goes through this interface.  The programs use QtDialogs; tests
// use ScriptedDialogs (tests/support/qt), which answers from a queue and
// never blocks.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <utility>
#include <vector>

class QDialog;
class QWidget;

// What a file dialog shows: its title, its filters as (description, pattern)
// pairs in order, and the extension added to a name typed without one.
struct FileDialogSpec {
  QString title;
  std::vector<std::pair<QString, QString>> filters;
  QString defaultSuffix;
};

class Dialogs {
 public:
  enum class Reply { Yes, No, Cancel };

  virtual ~Dialogs() = default;

  // A modal message box with one OK button.
  virtual void showError(QWidget* parent, const QString& caption, const QString& text) = 0;

  // An information box with one OK button and the program's icon (an
  // about box).
  virtual void showAbout(QWidget* parent, const QString& caption, const QString& text) = 0;

  // A warning with the buttons Yes and No, and Cancel when `withCancel`.
  // Closing the box without a button counts as Cancel (No without Cancel).
  virtual Reply askWarning(QWidget* parent, const QString& caption, const QString& text,
                           bool withCancel) = 0;

  // The chosen file, or nothing when the user cancels.
  virtual std::optional<QString> chooseOpenFile(QWidget* parent, const FileDialogSpec& spec) = 0;

  // The chosen file, or nothing when the user cancels; `proposed` is the name
  // filled in when the dialog opens.
  virtual std::optional<QString> chooseSaveFile(QWidget* parent, const FileDialogSpec& spec,
                                                const QString& proposed) = 0;

  // Shows `dialog` modally and returns its result code.
  virtual int runModal(QDialog& dialog) = 0;
};

// The Qt filter string of one (description, pattern) pair: "Text *.txt (*.txt)".
QString qtFilter(const std::pair<QString, QString>& filter);
