// TCheckForm: layout and filling from the findings.
#include "checker.h"  // before any Qt header: it has a member named "slots"

#include "check_window.h"
#include "cp1251_literal.h"
#include "qt_text.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {
using namespace cp1251::literals;

constexpr int kWidth = 560, kHeight = 360;
constexpr const char* kCaption = "Проверка базы знаний"_cp1251.c_str();
constexpr const char* kNoFindings = "Замечаний нет."_cp1251.c_str();
constexpr const char* kCount = "Замечаний: "_cp1251.c_str();

QString q(const std::string& cp1251Text) { return cp1251::toQString(cp1251Text); }

// One line of the list, as the console prints it.
QString findingLine(const norvix::Finding& finding) {
  return q("[" + norvix::KindLabel(finding.kind) + "] " + finding.text);
}

}  // namespace

TCheckForm::TCheckForm(const norvix::AKBase& kb, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      Findings(new QListWidget(this)),
      Summary(new QLabel(this)),
      Button1(new QPushButton(QStringLiteral("&Ok"), this)) {
  setObjectName(QStringLiteral("CheckForm"));
  setWindowTitle(q(kCaption));
  resize(kWidth, kHeight);
  setSizeGripEnabled(true);
  Findings->setObjectName(QStringLiteral("Findings"));
  Summary->setObjectName(QStringLiteral("Summary"));
  Button1->setObjectName(QStringLiteral("Button1"));
  Button1->setAutoDefault(false);
  const std::vector<norvix::Finding> findings = norvix::CheckKnowledgeBase(kb);
  for (const norvix::Finding& f : findings) Findings->addItem(findingLine(f));
  Summary->setText(findings.empty() ? q(kNoFindings)
                                    : q(kCount) + QString::number(findings.size()));

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(Summary, 1);
  buttons->addWidget(Button1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Findings, 1);
  layout->addLayout(buttons);
  connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
}
