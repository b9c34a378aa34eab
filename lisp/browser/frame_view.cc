// TFrameView: reading, showing and editing one frame.
#include "frame_view.h"

#include <QFont>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "dialogs.h"
#include "lisp_commands.h"
#include "new_prop_form.h"
#include "qt_text.h"
#include "text_editor.h"

namespace {

const int kRowRole = Qt::UserRole;  // index into the inspected slots

QString q(const std::string& s) { return cp1251::toQString(s); }

// One line of a printed value for the list; the whole text is the tip.
QString oneLine(const std::string& text) {
  QString s = q(text);
  const qsizetype nl = s.indexOf(u'\n');
  if (nl >= 0) s = s.left(nl) + QStringLiteral(" ...");
  return s.size() > 200 ? s.left(200) + QStringLiteral(" ...") : s;
}

}  // namespace

TFrameView::TFrameView(velloq_windows::LispRunner& runner, Dialogs& dialogs,
                       const std::string& frame, QWidget* parent)
    : QWidget(parent, Qt::Window), runner_(runner), dialogs_(dialogs), frame_(frame) {
  setAttribute(Qt::WA_DeleteOnClose);
  FrameEdit = new QLineEdit(this);
  QFont bold = FrameEdit->font();
  bold.setBold(true);
  FrameEdit->setFont(bold);
  ParentsLabel = new QLabel(this);
  ChildrenLabel = new QLabel(this);
  ChildrenLabel->setWordWrap(true);
  SlotList = new QTreeWidget(this);
  SlotList->setColumnCount(4);
  SlotList->setHeaderLabels({tr("Slot"), tr("Value"), tr("Method"), tr("Inherited from")});
  SlotList->setRootIsDecorated(false);
  SlotList->setAlternatingRowColors(true);
  SlotList->header()->setSectionResizeMode(QHeaderView::Interactive);
  SlotList->setColumnWidth(SlotColumn, 130);
  SlotList->setColumnWidth(ValueColumn, 200);
  SlotList->setColumnWidth(MethodColumn, 120);
  NewSlotButton = new QPushButton(tr("&New slot..."), this);
  EditValueButton = new QPushButton(tr("Edit &value..."), this);
  EditMethodButton = new QPushButton(tr("Edit &method..."), this);
  DeleteSlotButton = new QPushButton(tr("&Delete slot"), this);

  auto* top = new QHBoxLayout;
  top->addWidget(new QLabel(tr("Frame:"), this));
  top->addWidget(FrameEdit, 1);
  auto* buttons = new QHBoxLayout;
  for (QPushButton* b : {NewSlotButton, EditValueButton, EditMethodButton, DeleteSlotButton})
    buttons->addWidget(b);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(ParentsLabel);
  layout->addWidget(ChildrenLabel);
  layout->addWidget(SlotList, 1);
  layout->addLayout(buttons);
  resize(620, 380);

  for (QLabel* l : {ParentsLabel, ChildrenLabel})
    connect(l, &QLabel::linkActivated, this, [this](const QString& link) { emit openFrame(link); });
  connect(FrameEdit, &QLineEdit::returnPressed, this, &TFrameView::FrameEditReturn);
  connect(SlotList, &QTreeWidget::itemDoubleClicked, this, &TFrameView::SlotListDoubleClicked);
  connect(SlotList, &QTreeWidget::currentItemChanged, this, &TFrameView::SlotListCurrentChanged);
  connect(NewSlotButton, &QPushButton::clicked, this, &TFrameView::NewSlotClick);
  connect(EditValueButton, &QPushButton::clicked, this, &TFrameView::EditValueClick);
  connect(EditMethodButton, &QPushButton::clicked, this, &TFrameView::EditMethodClick);
  connect(DeleteSlotButton, &QPushButton::clicked, this, &TFrameView::DeleteSlotClick);
  refresh();
}

void TFrameView::showFrame(const std::string& frame) {
  frame_ = frame;
  refresh();
}

QString TFrameView::links(const std::vector<std::string>& names) const {
  QStringList parts;
  for (const std::string& n : names) {
    const QString name = q(n).toHtmlEscaped();
    parts.append(QStringLiteral("<a href=\"%1\">%1</a>").arg(name));
  }
  return parts.isEmpty() ? tr("none") : parts.join(QStringLiteral(", "));
}

void TFrameView::refresh() {
  if (runner_.busy()) return;
  const std::string current = SlotList->currentItem() ? SlotList->currentItem()->text(0).toStdString()
                                                      : std::string();
  FrameEdit->setText(q(frame_));
  velloq::InspectedFrame f;
  exists_ = !frame_.empty() && velloq::inspect_frame(frame_, &f);
  setWindowTitle(tr("Frame %1").arg(q(frame_)));
  SlotList->clear();
  slots_.clear();
  if (!exists_) {
    ParentsLabel->setText(frame_.empty() ? tr("Type a frame name and press Enter.")
                                         : tr("There is no frame of this name."));
    ChildrenLabel->clear();
    SlotListCurrentChanged();
    return;
  }
  ParentsLabel->setText(tr("Parents: %1").arg(links(f.parents)));
  ChildrenLabel->setText(tr("Children: %1").arg(links(f.children)));
  slots_ = std::move(f.slot_list);
  QList<QTreeWidgetItem*> rows;
  for (size_t i = 0; i < slots_.size(); ++i) {
    const velloq::InspectedSlot& s = slots_[i];
    auto* row = new QTreeWidgetItem;
    row->setText(SlotColumn, q(s.name));
    row->setText(ValueColumn, oneLine(s.value));
    row->setToolTip(ValueColumn, q(s.value));
    if (s.has_method) {
      row->setText(MethodColumn, q(s.parameters));
      row->setToolTip(MethodColumn, q(s.body));
    }
    if (s.inherited) {
      row->setText(FromColumn, q(s.source));
      QFont italic = row->font(0);
      italic.setItalic(true);
      for (int c = 0; c < 4; ++c) {
        row->setFont(c, italic);
        row->setForeground(c, QColor(110, 110, 110));
      }
    } else if (s.inheritance) {
      QFont b = row->font(0);
      b.setBold(true);
      row->setFont(SlotColumn, b);
    }
    row->setData(0, kRowRole, qulonglong(i));
    rows.append(row);
  }
  SlotList->addTopLevelItems(rows);
  for (QTreeWidgetItem* row : rows)
    if (row->text(0).toStdString() == current) {
      SlotList->setCurrentItem(row);
      break;
    }
  SlotListCurrentChanged();
}

QTreeWidgetItem* TFrameView::slotRow(const std::string& slot) const {
  const QString name = q(slot);
  for (int i = 0; i < SlotList->topLevelItemCount(); ++i)
    if (SlotList->topLevelItem(i)->text(SlotColumn) == name) return SlotList->topLevelItem(i);
  return nullptr;
}

const velloq::InspectedSlot* TFrameView::slotOf(const QTreeWidgetItem* item) const {
  if (!item) return nullptr;
  const qulonglong i = item->data(0, kRowRole).toULongLong();
  return i < slots_.size() ? &slots_[i] : nullptr;
}

void TFrameView::SlotListCurrentChanged() {
  const velloq::InspectedSlot* s = slotOf(SlotList->currentItem());
  NewSlotButton->setEnabled(exists_);
  EditValueButton->setEnabled(s != nullptr);
  EditMethodButton->setEnabled(s != nullptr && !s->inheritance);
  DeleteSlotButton->setEnabled(s != nullptr && !s->inherited && !s->inheritance);
}

void TFrameView::FrameEditReturn() { showFrame(cp1251::fromQString(FrameEdit->text().trimmed())); }

void TFrameView::SlotListDoubleClicked(QTreeWidgetItem* item, int column) {
  SlotList->setCurrentItem(item);
  if (column == MethodColumn) EditMethodClick();
  else EditValueClick();
}

// ---- changes, each run as Lisp text ----

void TFrameView::NewSlotClick() {
  if (!exists_ || runner_.busy()) return;
  TNewPropForm form(q(frame_), this);
  if (dialogs_.runModal(form) != QDialog::Accepted) return;
  const std::string name = cp1251::fromQString(form.NameEdit->text().trimmed());
  const std::string value = cp1251::fromQString(form.ValueEdit->text().trimmed());
  if (name.empty()) return;
  runner_.run_lisp(value.empty() ? velloq_browser::addSlotText(frame_, name)
                                 : velloq_browser::setSlotValueText(frame_, name, value));
}

void TFrameView::EditValueClick() {
  const velloq::InspectedSlot* s = slotOf(SlotList->currentItem());
  if (!s || runner_.busy()) return;
  const std::string slot = s->name;
  const bool inheritance = s->inheritance;
  const QString where = q(frame_ + "^" + slot);
  QString prompt = tr("New value of %1 (a Lisp expression, evaluated):").arg(where);
  if (s->inherited) prompt += tr("\nThe frame gets its own slot, which overrides the one of %1.")
                                  .arg(q(s->source));
  TForm2 editor(tr("Edit value"), prompt, q(s->value_form), this);
  if (dialogs_.runModal(editor) != QDialog::Accepted) return;
  const std::string form = cp1251::fromQString(editor.text());
  if (form.find_first_not_of(" \t\r\n") == std::string::npos) return;
  runner_.run_lisp(inheritance ? velloq_browser::assignSlotText(frame_, slot, form)
                              : velloq_browser::setSlotValueText(frame_, slot, form));
}

void TFrameView::EditMethodClick() {
  const velloq::InspectedSlot* s = slotOf(SlotList->currentItem());
  if (!s || s->inheritance || runner_.busy()) return;
  // An inherited method is edited into an own slot of this frame.
  const std::string text = s->has_method
                               ? velloq_browser::methodText(frame_, s->name, s->parameters, s->body)
                               : velloq_browser::methodText(frame_, s->name, "()", "NIL");
  TForm2 editor(tr("Edit method"), tr("Method of %1:").arg(q(frame_ + "^" + s->name)), q(text),
                this);
  if (dialogs_.runModal(editor) != QDialog::Accepted) return;
  const std::string edited = cp1251::fromQString(editor.text());
  if (edited.find_first_not_of(" \t\r\n") == std::string::npos) return;
  runner_.run_lisp(velloq_browser::asRunText(edited));
}

void TFrameView::DeleteSlotClick() {
  const velloq::InspectedSlot* s = slotOf(SlotList->currentItem());
  if (!s || s->inherited || s->inheritance || runner_.busy()) return;
  const std::string slot = s->name;
  if (dialogs_.askWarning(this, tr("Delete slot"),
                          tr("Delete the slot %1 of %2?").arg(q(slot), q(frame_)),
                          false) != Dialogs::Reply::Yes)
    return;
  runner_.run_lisp(velloq_browser::deleteSlotText(frame_, slot));
}
