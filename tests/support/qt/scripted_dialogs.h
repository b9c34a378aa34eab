// Dialogs for tests: every call is recorded, and answered from a queue of
// prepared answers without showing anything.  A call whose kind does not
// match the next prepared answer (or finds the queue empty) is answered
// with a cancel and recorded in mismatches(), so a test can fail clearly
// instead of blocking.
#pragma once

#include "dialogs.h"

#include <deque>
#include <functional>

class ScriptedDialogs : public Dialogs {
 public:
  enum class Kind { Error, About, Warning, OpenFile, SaveFile, Modal };

  // One call as it was made.
  struct Call {
    Kind kind;
    QString caption;   // caption or dialog title
    QString text;      // message text, or the proposed file name
    QStringList filters;
    QString defaultSuffix;
    bool withCancel = false;
  };

  // Prepared answers, taken in order.
  void answerWarning(Reply reply);
  void answerOpenFile(std::optional<QString> file);
  void answerSaveFile(std::optional<QString> file);
  // `inspect` sees the modal window as if it were open and returns its result.
  void answerModal(std::function<int(QDialog&)> inspect);

  const std::vector<Call>& calls() const { return calls_; }
  const QStringList& mismatches() const { return mismatches_; }
  int pending() const { return static_cast<int>(answers_.size()); }
  void forget() { calls_.clear(); }

  void showError(QWidget* parent, const QString& caption, const QString& text) override;
  void showAbout(QWidget* parent, const QString& caption, const QString& text) override;
  Reply askWarning(QWidget* parent, const QString& caption, const QString& text,
                   bool withCancel) override;
  std::optional<QString> chooseOpenFile(QWidget* parent, const FileDialogSpec& spec) override;
  std::optional<QString> chooseSaveFile(QWidget* parent, const FileDialogSpec& spec,
                                        const QString& proposed) override;
  int runModal(QDialog& dialog) override;

 private:
  struct Answer {
    Kind kind;
    Reply reply = Reply::Cancel;
    std::optional<QString> file;
    std::function<int(QDialog&)> inspect;
  };

  // Takes the next answer when it is of `kind`; otherwise records a mismatch.
  std::optional<Answer> take(Kind kind);
  Call fileCall(Kind kind, const FileDialogSpec& spec, const QString& proposed);

  std::deque<Answer> answers_;
  std::vector<Call> calls_;
  QStringList mismatches_;
};
