#include "pref_dialog.h"

#include "qt_text.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {

// A file name: one line, no longer than the settings file's line.
QLineEdit* nameField(QWidget* parent) {
  auto* field = new QLineEdit(parent);
  field->setMaxLength(400);
  return field;
}

}  // namespace

Tpref::Tpref(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("pref"));
  setWindowTitle(QStringLiteral("Preferences"));
  UseLog = new QCheckBox(QStringLiteral("&Write the terminal's traffic to the log"), this);
  LogFile = nameField(this);
  MaxStoredLines = new QSpinBox(this);
  MaxStoredLines->setRange(velloq_ui::MIN_STORED_LINES, velloq_ui::MAX_STORED_LINES);
  MaxStoredInput = new QSpinBox(this);
  MaxStoredInput->setRange(velloq_ui::MIN_STORED_INPUT, velloq_ui::MAX_STORED_INPUT);
  AllowErrorMessages = new QCheckBox(QStringLiteral("Show &errors in a message box"), this);
  LoadDbAtStartup = new QCheckBox(QStringLiteral("&Restore the databases at start-up"), this);
  SaveDbOnExit = new QCheckBox(QStringLiteral("&Save the databases on exit"), this);
  StartupDb = nameField(this);
  OkButton = new QPushButton(QStringLiteral("OK"), this);
  OkButton->setDefault(true);
  CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
  connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);

  auto* form = new QFormLayout;
  form->addRow(UseLog);
  form->addRow(QStringLiteral("&Log file:"), LogFile);
  form->addRow(QStringLiteral("Lines &kept in the terminal:"), MaxStoredLines);
  form->addRow(QStringLiteral("Lines kept in the &history:"), MaxStoredInput);
  form->addRow(AllowErrorMessages);
  form->addRow(LoadDbAtStartup);
  form->addRow(SaveDbOnExit);
  form->addRow(QStringLiteral("&Database list file:"), StartupDb);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(OkButton);
  buttons->addWidget(CancelButton);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addLayout(buttons);
}

void Tpref::fill(const velloq_ui::Settings& s) {
  UseLog->setChecked(s.use_log);
  LogFile->setText(cp1251::toQString(s.log_file));
  MaxStoredLines->setValue(s.max_stored_lines);
  MaxStoredInput->setValue(s.max_stored_input);
  AllowErrorMessages->setChecked(s.allow_error_messages);
  LoadDbAtStartup->setChecked(s.load_db_at_startup);
  SaveDbOnExit->setChecked(s.save_db_on_exit);
  StartupDb->setText(cp1251::toQString(s.startup_db));
}

velloq_ui::Settings Tpref::values() const {
  velloq_ui::Settings s;
  s.use_log = UseLog->isChecked();
  s.log_file = cp1251::fromQString(LogFile->text());
  s.max_stored_lines = MaxStoredLines->value();
  s.max_stored_input = MaxStoredInput->value();
  s.allow_error_messages = AllowErrorMessages->isChecked();
  s.load_db_at_startup = LoadDbAtStartup->isChecked();
  s.save_db_on_exit = SaveDbOnExit->isChecked();
  s.startup_db = cp1251::fromQString(StartupDb->text());
  return s;
}
