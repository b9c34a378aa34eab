// Tproj: the project's databases and frames, and the project commands.
#include "project_window.h"

#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "dialogs.h"
#include "frame_inspect.h"
#include "qt_text.h"

namespace {

FileDialogSpec projectSpec(const QString& title) {
  return {title,
          {{QObject::tr("Velloq project"), QStringLiteral("*.vqr")},
           {QObject::tr("All files"), QStringLiteral("*")}},
          QStringLiteral("vqr")};
}

}  // namespace

Tproj::Tproj(velloq_windows::LispRunner& runner, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), runner_(runner), dialogs_(dialogs) {
  setWindowTitle(tr("Project"));
  ProjectLabel = new QLabel(this);
  ProjectTree = new QTreeWidget(this);
  ProjectTree->setHeaderHidden(true);
  OpenButton = new QPushButton(tr("&Open..."), this);
  SaveButton = new QPushButton(tr("&Save..."), this);
  NewButton = new QPushButton(tr("&New project"), this);
  auto* buttons = new QHBoxLayout;
  for (QPushButton* b : {OpenButton, SaveButton, NewButton}) buttons->addWidget(b);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(ProjectLabel);
  layout->addWidget(ProjectTree, 1);
  layout->addLayout(buttons);
  resize(300, 420);
  connect(OpenButton, &QPushButton::clicked, this, &Tproj::LoadProjectClick);
  connect(SaveButton, &QPushButton::clicked, this, &Tproj::SaveProjectClick);
  connect(NewButton, &QPushButton::clicked, this, &Tproj::NewProjectClick);
  refresh();
}

void Tproj::refresh() {
  ProjectLabel->setText(file_.isEmpty() ? QStringLiteral("UNNAMED.VQR")
                                        : QFileInfo(file_).fileName());
  ProjectLabel->setToolTip(file_);
  if (runner_.busy()) return;
  ProjectTree->clear();
  for (const velloq::DatabaseFrames& db : velloq::project_database_frames()) {
    auto* file = new QTreeWidgetItem(ProjectTree, {cp1251::toQString(db.file)});
    QList<QTreeWidgetItem*> frames;
    for (const std::string& f : db.frames)
      frames.append(new QTreeWidgetItem(QStringList{cp1251::toQString(f)}));
    file->addChildren(frames);
    file->setExpanded(true);
  }
}

void Tproj::runWithListFile(const QString& listFile, const std::string& text) {
  const std::string saved = velloq::current_list_file();
  velloq::set_current_list_file(QFile::encodeName(listFile).toStdString());
  runner_.run_lisp(text);
  velloq::set_current_list_file(saved);
}

void Tproj::LoadProjectClick() {
  if (runner_.busy()) return;
  const auto chosen = dialogs_.chooseOpenFile(this, projectSpec(tr("Load project")));
  if (!chosen) return;
  file_ = *chosen;
  runWithListFile(file_, "(RESTORE)\n");
  refresh();
}

void Tproj::SaveProjectClick() {
  if (runner_.busy()) return;
  const QString proposed = file_.isEmpty() ? QStringLiteral("UNNAMED.VQR") : file_;
  const auto chosen = dialogs_.chooseSaveFile(this, projectSpec(tr("Save project")), proposed);
  if (!chosen) return;
  file_ = *chosen;
  runWithListFile(file_, "(SAVE)\n");
  refresh();
}

void Tproj::NewProjectClick() {
  if (runner_.busy()) return;
  file_.clear();
  runner_.run_lisp("(RESTORE)\n");
  refresh();
}
