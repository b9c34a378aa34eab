// TForm2: layout and the three buttons.
#include "results_window.h"

#include "qt_text.h"
#include "window_texts.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QVBoxLayout>

namespace {
constexpr int kWidth = 306, kHeight = 374;
constexpr int kIndent = 19;
}  // namespace

TForm2::TForm2(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      Synt(new QTreeWidget(this)),
      Button1(new QPushButton(cp1251::toQString(wintext::kOk), this)),
      Button2(new QPushButton(cp1251::toQString(wintext::kExpand), this)),
      Button3(new QPushButton(cp1251::toQString(wintext::kCollapse), this)) {
  setObjectName(QStringLiteral("Form2"));
  setWindowTitle(cp1251::toQString(wintext::kResultsCaption));
  setWindowIcon(QIcon(QStringLiteral(":/norvix/norvix.png")));
  resize(kWidth, kHeight);
  setMinimumSize(kWidth, kHeight);
  setSizeGripEnabled(true);
  Synt->setObjectName(QStringLiteral("Synt"));
  Synt->setHeaderHidden(true);
  Synt->setColumnCount(1);
  Synt->setIndentation(kIndent);
  // A long line widens the column instead of being cut; the window scrolls.
  Synt->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  Synt->header()->setStretchLastSection(false);
  Synt->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  Button1->setObjectName(QStringLiteral("Button1"));
  Button2->setObjectName(QStringLiteral("Button2"));
  Button3->setObjectName(QStringLiteral("Button3"));
  Button1->setAutoDefault(false);
  Button2->setAutoDefault(false);
  Button3->setAutoDefault(false);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(Button2);
  buttons->addWidget(Button3);
  buttons->addStretch(1);
  buttons->addWidget(Button1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(buttons);
  layout->addWidget(Synt, 1);

  connect(Button1, &QPushButton::clicked, this, &TForm2::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TForm2::Button2Click);
  connect(Button3, &QPushButton::clicked, this, &TForm2::Button3Click);
}

void TForm2::Button2Click() {
  for (int i = 0; i < Synt->topLevelItemCount(); ++i)
    Synt->expandRecursively(Synt->model()->index(i, 0));
}

void TForm2::Button3Click() {
  // collapseAll reaches every node, top-level or not.
  Synt->collapseAll();
}

void TForm2::Button1Click() { done(QDialog::Accepted); }
