// Page "Проект": the project's name and description.
#include "edit_form.h"

#include "editor_texts.h"
#include "field_text.h"
#include "window_texts.h"

#include <QFormLayout>
#include <QVBoxLayout>

using field::Q;

QWidget* TEditForm::buildProjectPage() {
  TabSheet2 = new QWidget;
  TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
  ProjectName = new QLineEdit(TabSheet2);
  ProjectName->setObjectName(QStringLiteral("ProjectName"));

  auto* info = new QGroupBox(Q(edtext::kProjectInfo), TabSheet2);
  Purpose = new QPlainTextEdit(info);
  Purpose->setObjectName(QStringLiteral("Purpose"));
  Subject = new QPlainTextEdit(info);
  Subject->setObjectName(QStringLiteral("Subject"));
  Author = new QLineEdit(info);
  Author->setObjectName(QStringLiteral("Author"));
  auto* infoLayout = new QVBoxLayout(info);
  infoLayout->addWidget(new QLabel(Q(edtext::kPurpose), info));
  infoLayout->addWidget(Purpose);
  infoLayout->addWidget(new QLabel(Q(edtext::kSubject), info));
  infoLayout->addWidget(Subject);
  infoLayout->addWidget(new QLabel(Q(edtext::kAuthor), info));
  infoLayout->addWidget(Author);

  auto* layout = new QVBoxLayout(TabSheet2);
  layout->addWidget(new QLabel(Q(edtext::kProjectName), TabSheet2));
  layout->addWidget(ProjectName);
  layout->addWidget(info, 1);
  return TabSheet2;
}

void TEditForm::connectProject() {
  connect(ProjectName, &QLineEdit::textChanged, this, &TEditForm::ProjectNameChange);
  connect(Purpose, &QPlainTextEdit::textChanged, this, &TEditForm::PurposeChange);
  connect(Subject, &QPlainTextEdit::textChanged, this, &TEditForm::SubjectChange);
  connect(Author, &QLineEdit::textChanged, this, &TEditForm::AuthorChange);
}

// The main window's caption follows the field even while the editor fills
// it, so that it always names the project shown.
void TEditForm::ProjectNameChange() {
  if (!Editing) {
    kb().Modified = true;
    kb().ProjectName = field::Stored(ProjectName);
  }
  QString caption = Q(wintext::kMainCaption);
  if (!ProjectName->text().isEmpty()) caption += Q(wintext::kCaptionJoin) + ProjectName->text();
  emit captionChanged(caption);
}

void TEditForm::PurposeChange() {
  if (Editing) return;
  kb().Modified = true;
  kb().Purpose = field::StoredMemo(Purpose);
}

void TEditForm::SubjectChange() {
  if (Editing) return;
  kb().Modified = true;
  kb().Subject = field::StoredMemo(Subject);
}

void TEditForm::AuthorChange() {
  if (Editing) return;
  kb().Modified = true;
  kb().Author = field::Stored(Author);
}
