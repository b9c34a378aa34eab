// TForm1: the consultation dialog in Memo1 and the answer panel.
#include "main_window.h"

#include "cp1251.h"
#include "display_text.h"
#include "engine_messages.h"
#include "results_window.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QActionGroup>
#include <QKeyEvent>
#include <QMenuBar>
#include <QTextCursor>
#include <QTreeWidget>

namespace {

// A line break that ends a printed text ends its line, which appending the
// text as a line does anyway: it must not open an empty line below it.
std::string_view withoutFinalBreak(std::string_view text) {
  if (!text.empty() && text.back() == '\n') text.remove_suffix(1);
  if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
  return text;
}

}  // namespace

void TForm1::PrintLine(const std::string& text) {
  if (!Memo1->hasFocus()) Memo1->setFocus();
  Memo1->appendPlainText(displayText(withoutFinalBreak(text)));
  QCoreApplication::processEvents();
}

void TForm1::AppendToLastLine(const std::string& text) {
  if (!Memo1->hasFocus()) Memo1->setFocus();
  QTextCursor cursor = Memo1->textCursor();
  cursor.movePosition(QTextCursor::End);
  cursor.insertText(displayText(text));
  Memo1->setTextCursor(cursor);
}

// Prints the question and runs a nested event loop until a handler has
// answered.  A window that is closing answers every question with Cancel.
norvix::Reply TForm1::Ask(const std::string& line) {
  PrintLine(line);
  Memo1->moveCursor(QTextCursor::End);
  Answer = false;
  Answered = false;
  if (closeAfterRun_) Cancelled = true;
  if (!Cancelled) {
    QEventLoop loop;
    waitLoop_ = &loop;
    emit questionWaiting();
    if (!Answered) loop.exec();
    waitLoop_ = nullptr;
    // Only the answer handlers end this loop after answering; otherwise the
    // application is quitting, and the question counts as cancelled.
    if (!Answered) CancelClick();
  }
  if (Cancelled) return norvix::Reply::Cancel;
  return Answer ? norvix::Reply::Yes : norvix::Reply::No;
}

// Lets a waiting Ask return.
void TForm1::endWait() {
  if (waitLoop_) waitLoop_->quit();
}

void TForm1::WhyClick() { engine_.Why(); }

void TForm1::YesClick() {
  AppendToLastLine(norvix::msg::kYesTag);
  Answer = true;
  Answered = true;
  endWait();
}

void TForm1::NoClick() {
  AppendToLastLine(norvix::msg::kNoTag);
  Answer = false;
  Answered = true;
  endWait();
}

void TForm1::CancelClick() {
  Answered = true;
  Cancelled = true;
  endWait();
}

bool TForm1::Memo1KeyPress(unsigned char key) {
  switch (key) {
    case 0xC4: case 0xE4: YesClick(); return true;     // Д д
    case 0xCD: case 0xED: NoClick(); return true;      // Н н
    case 0xCE: case 0xEE: CancelClick(); return true;  // О о
    default: return false;
  }
}

// The answer keys of Memo1 and of the answer buttons.  The letters of
// Memo1KeyPress act in Memo1 at any time; while a question waits they act
// on the buttons too, with Y/y and N/n for a Latin layout, Enter for the
// focused answer button, Escape for Cancel and F1 or "?" for Why.
// Navigation keys keep their usual meaning.
bool TForm1::answerKey(QWidget* target, const QKeyEvent& key) {
  const bool waiting = Waiting();
  if (waiting) {
    switch (key.key()) {
      case Qt::Key_Return:
      case Qt::Key_Enter:
        if (auto* button = qobject_cast<QPushButton*>(target)) {
          button->click();
          return true;
        }
        return false;
      case Qt::Key_Escape: CancelClick(); return true;
      case Qt::Key_F1: WhyClick(); return true;
      default: break;
    }
  }
  const QString text = key.text();
  if (text.size() != 1 || (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
    return false;
  const char16_t ch = text.at(0).unicode();
  if (waiting) {
    switch (ch) {
      case u'Y': case u'y': YesClick(); return true;
      case u'N': case u'n': NoClick(); return true;
      case u'?': WhyClick(); return true;
      default: break;
    }
  }
  if (target != Memo1 && !waiting) return false;
  const int byte = cp1251::fromUnicode(ch);
  return byte >= 0 && Memo1KeyPress(static_cast<unsigned char>(byte));
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
      answerKey(static_cast<QWidget*>(watched), *static_cast<QKeyEvent*>(event)))
    return true;
  return QMainWindow::eventFilter(watched, event);
}

void TForm1::ShowAnswerPanel(bool visible) { Panel1->setVisible(visible); }

// The menu bar's commands are the tool bar's: they rest with it.  The group
// keeps each command's own state (QueryKB, ReportKB) for when it returns.
void TForm1::EnableToolbar(bool enabled) {
  ToolBar1->setEnabled(enabled);
  menuBar()->setEnabled(enabled);
  commands_->setEnabled(enabled);
}

void TForm1::EnableReportButton(bool enabled) { ReportAction->setEnabled(enabled); }

void TForm1::ClearTree() {
  treeItems_.clear();
  if (Form2) Form2->Synt->clear();
}

void TForm1::AddChild(const norvix::ResultNode* parent, const norvix::ResultNode& node) {
  if (!Form2) return;
  QTreeWidgetItem* above = parent ? treeItems_.value(parent, nullptr) : nullptr;
  auto* item = above ? new QTreeWidgetItem(above) : new QTreeWidgetItem(Form2->Synt);
  item->setText(0, displayText(node.Text));
  item->setToolTip(0, item->text(0));  // the whole line, where the window cuts it
  treeItems_.insert(&node, item);
}
