// The dialogs of the running program: QMessageBox and Qt's own QFileDialog.
#pragma once

#include "dialogs.h"

class QtDialogs : public Dialogs {
 public:
  void showError(QWidget* parent, const QString& caption, const QString& text) override;
  void showAbout(QWidget* parent, const QString& caption, const QString& text) override;
  Reply askWarning(QWidget* parent, const QString& caption, const QString& text,
                   bool withCancel) override;
  std::optional<QString> chooseOpenFile(QWidget* parent, const FileDialogSpec& spec) override;
  std::optional<QString> chooseSaveFile(QWidget* parent, const FileDialogSpec& spec,
                                        const QString& proposed) override;
  int runModal(QDialog& dialog) override;
};
