// Tpref: the preferences dialog.  Every setting of "velloq.ini" has a
// control that can hold only values in the setting's range.
#pragma once

#include "settings.h"

#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

class Tpref : public QDialog {
  Q_OBJECT

 public:
  explicit Tpref(QWidget* parent = nullptr);

  // Shows `settings` in the controls (numbers out of range are clamped).
  void fill(const velloq_ui::Settings& settings);
  // The settings as the controls hold them.
  velloq_ui::Settings values() const;

  QCheckBox* UseLog;
  QLineEdit* LogFile;
  QSpinBox* MaxStoredLines;
  QSpinBox* MaxStoredInput;
  QCheckBox* AllowErrorMessages;
  QCheckBox* LoadDbAtStartup;
  QCheckBox* SaveDbOnExit;
  QLineEdit* StartupDb;
  QPushButton* OkButton;
  QPushButton* CancelButton;
};
