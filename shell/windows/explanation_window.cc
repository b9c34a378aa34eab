// TExplainForm: layout and filling from the explanation.
#include "explanation_window.h"

#include "explanation_texts.h"
#include "qt_text.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {
constexpr int kWidth = 520, kHeight = 420;
constexpr int kIndent = 19;

QString q(const std::string& cp1251Text) { return cp1251::toQString(cp1251Text); }
QString q(const char* cp1251Text) { return cp1251::toQString(cp1251Text); }
}  // namespace

TExplainForm::TExplainForm(const norvix::Explanation& explanation, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      Pages(new QTabWidget(this)),
      Button1(new QPushButton(q(explaintext::kOk), this)) {
  setObjectName(QStringLiteral("ExplainForm"));
  setWindowTitle(q(explaintext::kCaption));
  resize(kWidth, kHeight);
  setSizeGripEnabled(true);
  Pages->setObjectName(QStringLiteral("Pages"));
  Pages->addTab(buildHowPage(explanation), q(explaintext::kHowPage));
  Pages->addTab(buildWhyNotPage(explanation), q(explaintext::kWhyNotPage));
  Button1->setObjectName(QStringLiteral("Button1"));
  Button1->setAutoDefault(false);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(Button1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Pages, 1);
  layout->addLayout(buttons);

  connect(Button1, &QPushButton::clicked, this, &TExplainForm::Button1Click);
  connect(Samples, &QListWidget::currentRowChanged, this, &TExplainForm::SamplesChange);
  if (Samples->count() > 0) Samples->setCurrentRow(0);
  SamplesChange();
}

// The entries come depth first with their level, so the item last placed
// on each level is the parent of the next entry one level deeper.
QWidget* TExplainForm::buildHowPage(const norvix::Explanation& explanation) {
  auto* page = new QWidget(this);
  How = new QTreeWidget(page);
  How->setObjectName(QStringLiteral("How"));
  How->setHeaderHidden(true);
  How->setColumnCount(1);
  How->setIndentation(kIndent);
  std::vector<QTreeWidgetItem*> open;
  for (const norvix::HowEntry& entry : explanation.how) {
    const size_t level = static_cast<size_t>(entry.level);
    if (open.size() > level) open.resize(level);
    QTreeWidgetItem* above = open.empty() ? nullptr : open.back();
    auto* item = above ? new QTreeWidgetItem(above) : new QTreeWidgetItem(How);
    item->setText(0, q(entry.text));
    for (const std::string& reason : entry.reasons) {
      auto* because = new QTreeWidgetItem(item);
      because->setText(0, q(reason));
      QFont font = because->font(0);
      font.setItalic(true);  // reasons stand apart from the result's own lines
      because->setFont(0, font);
    }
    // A level skipped in the entries would leave `open` short; pad it so the
    // next deeper entry still finds this item as its parent.
    while (open.size() < level) open.push_back(item);
    open.push_back(item);
  }
  if (explanation.how.empty()) new QTreeWidgetItem(How, QStringList(q(explaintext::kNoResult)));
  How->expandAll();
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(How);
  return page;
}

QWidget* TExplainForm::buildWhyNotPage(const norvix::Explanation& explanation) {
  auto* page = new QWidget(this);
  Samples = new QListWidget(page);
  Samples->setObjectName(QStringLiteral("Samples"));
  for (const norvix::WhyNotEntry& entry : explanation.whyNot) {
    Samples->addItem(q(entry.sample));
    reasons_.push_back(entry.reason);
  }
  Reason = new QPlainTextEdit(page);
  Reason->setObjectName(QStringLiteral("Reason"));
  Reason->setReadOnly(true);
  Reason->setMaximumHeight(Reason->fontMetrics().lineSpacing() * 5);
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(new QLabel(q(explaintext::kSamplesLabel), page));
  layout->addWidget(Samples, 1);
  layout->addWidget(new QLabel(q(explaintext::kReasonLabel), page));
  layout->addWidget(Reason);
  return page;
}

void TExplainForm::SamplesChange() {
  const int row = Samples->currentRow();
  if (reasons_.empty())
    Reason->setPlainText(q(explaintext::kNoOtherSamples));
  else if (row < 0 || static_cast<size_t>(row) >= reasons_.size())
    Reason->clear();
  else
    Reason->setPlainText(q(reasons_[static_cast<size_t>(row)]));
}

void TExplainForm::Button1Click() { done(QDialog::Accepted); }
