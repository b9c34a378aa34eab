// QtDialogs: the real dialogs behind the Dialogs interface.
#include "qt_dialogs.h"

#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>

void QtDialogs::showError(QWidget* parent, const QString& caption, const QString& text) {
  QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok, parent);
  box.exec();
}

void QtDialogs::showAbout(QWidget* parent, const QString& caption, const QString& text) {
  QMessageBox::about(parent, caption, text);
}

Dialogs::Reply QtDialogs::askWarning(QWidget* parent, const QString& caption,
                                     const QString& text, bool withCancel) {
  QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
  if (withCancel) buttons |= QMessageBox::Cancel;
  QMessageBox box(QMessageBox::Warning, caption, text, buttons, parent);
  box.setEscapeButton(withCancel ? QMessageBox::Cancel : QMessageBox::No);
  switch (box.exec()) {
    case QMessageBox::Yes: return Reply::Yes;
    case QMessageBox::No: return Reply::No;
    default: return withCancel ? Reply::Cancel : Reply::No;
  }
}

// A file dialog set up from its title, filters and suffix; Qt's own dialog, so that it looks the
// same everywhere and honours the default suffix.
static void setUp(QFileDialog& dialog, const FileDialogSpec& spec) {
  QStringList filters;
  for (const auto& f : spec.filters) filters << qtFilter(f);
  dialog.setWindowTitle(spec.title);
  dialog.setNameFilters(filters);
  dialog.setDefaultSuffix(spec.defaultSuffix);
  dialog.setOption(QFileDialog::DontUseNativeDialog, true);
}

std::optional<QString> QtDialogs::chooseOpenFile(QWidget* parent, const FileDialogSpec& spec) {
  QFileDialog dialog(parent);
  setUp(dialog, spec);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().first();
}

std::optional<QString> QtDialogs::chooseSaveFile(QWidget* parent, const FileDialogSpec& spec,
                                                 const QString& proposed) {
  QFileDialog dialog(parent);
  setUp(dialog, spec);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.selectFile(proposed);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().first();
}

int QtDialogs::runModal(QDialog& dialog) { return dialog.exec(); }
