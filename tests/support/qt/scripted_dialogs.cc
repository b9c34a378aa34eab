// ScriptedDialogs: recorded calls, queued answers.
#include "scripted_dialogs.h"

#include <QDialog>

static const char* kindName(ScriptedDialogs::Kind kind) {
  switch (kind) {
    case ScriptedDialogs::Kind::Error: return "error";
    case ScriptedDialogs::Kind::About: return "about";
    case ScriptedDialogs::Kind::Warning: return "warning";
    case ScriptedDialogs::Kind::OpenFile: return "open file";
    case ScriptedDialogs::Kind::SaveFile: return "save file";
    case ScriptedDialogs::Kind::Modal: return "modal window";
  }
  return "?";
}

void ScriptedDialogs::answerWarning(Reply reply) {
  answers_.push_back({Kind::Warning, reply, std::nullopt, {}});
}

void ScriptedDialogs::answerOpenFile(std::optional<QString> file) {
  answers_.push_back({Kind::OpenFile, Reply::Cancel, std::move(file), {}});
}

void ScriptedDialogs::answerSaveFile(std::optional<QString> file) {
  answers_.push_back({Kind::SaveFile, Reply::Cancel, std::move(file), {}});
}

void ScriptedDialogs::answerModal(std::function<int(QDialog&)> inspect) {
  answers_.push_back({Kind::Modal, Reply::Cancel, std::nullopt, std::move(inspect)});
}

std::optional<ScriptedDialogs::Answer> ScriptedDialogs::take(Kind kind) {
  if (answers_.empty() || answers_.front().kind != kind) {
    QString next = answers_.empty() ? QStringLiteral("nothing")
                                    : QString::fromLatin1(kindName(answers_.front().kind));
    mismatches_ << QStringLiteral("asked for %1, prepared was %2")
                       .arg(QString::fromLatin1(kindName(kind)), next);
    return std::nullopt;
  }
  Answer a = std::move(answers_.front());
  answers_.pop_front();
  return a;
}

// Errors need no prepared answer: there is only the OK button.
void ScriptedDialogs::showError(QWidget*, const QString& caption, const QString& text) {
  calls_.push_back({Kind::Error, caption, text, {}, {}, false});
}

void ScriptedDialogs::showAbout(QWidget*, const QString& caption, const QString& text) {
  calls_.push_back({Kind::About, caption, text, {}, {}, false});
}

Dialogs::Reply ScriptedDialogs::askWarning(QWidget*, const QString& caption, const QString& text,
                                           bool withCancel) {
  calls_.push_back({Kind::Warning, caption, text, {}, {}, withCancel});
  auto a = take(Kind::Warning);
  if (!a) return withCancel ? Reply::Cancel : Reply::No;
  if (a->reply == Reply::Cancel && !withCancel) {
    mismatches_ << QStringLiteral("Cancel prepared for a question without Cancel");
    return Reply::No;
  }
  return a->reply;
}

ScriptedDialogs::Call ScriptedDialogs::fileCall(Kind kind, const FileDialogSpec& spec,
                                                const QString& proposed) {
  Call call{kind, spec.title, proposed, {}, spec.defaultSuffix, false};
  for (const auto& f : spec.filters) call.filters << qtFilter(f);
  return call;
}

std::optional<QString> ScriptedDialogs::chooseOpenFile(QWidget*, const FileDialogSpec& spec) {
  calls_.push_back(fileCall(Kind::OpenFile, spec, {}));
  auto a = take(Kind::OpenFile);
  return a ? a->file : std::nullopt;
}

std::optional<QString> ScriptedDialogs::chooseSaveFile(QWidget*, const FileDialogSpec& spec,
                                                       const QString& proposed) {
  calls_.push_back(fileCall(Kind::SaveFile, spec, proposed));
  auto a = take(Kind::SaveFile);
  return a ? a->file : std::nullopt;
}

int ScriptedDialogs::runModal(QDialog& dialog) {
  calls_.push_back({Kind::Modal, dialog.windowTitle(), {}, {}, {}, false});
  auto a = take(Kind::Modal);
  if (!a) return QDialog::Rejected;
  return a->inspect ? a->inspect(dialog) : QDialog::Accepted;
}
