// TForm1: the consultation dialog in Memo1 and the answer panel.
#include "main_window.h"

#include "cp1251.h"
#include "display_text.h"
#include "engine_messages.h"
#include "results_window.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QTextCursor>
#include <QTreeWidget>

void TForm1::PrintLine(const std::string& text) {
  if (!Memo1->hasFocus()) Memo1->setFocus();
  Memo1->appendPlainText(displayText(text));
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

// Typed characters of Memo1 go to Memo1KeyPress; navigation keys keep
// their usual meaning.
bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Memo1 && event->type() == QEvent::KeyPress) {
    const QString text = static_cast<QKeyEvent*>(event)->text();
    if (text.size() == 1) {
      const int byte = cp1251::fromUnicode(text.at(0).unicode());
      if (byte >= 0 && Memo1KeyPress(static_cast<unsigned char>(byte))) return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void TForm1::ShowAnswerPanel(bool visible) { Panel1->setVisible(visible); }

void TForm1::EnableToolbar(bool enabled) { ToolBar1->setEnabled(enabled); }

void TForm1::EnableReportButton(bool enabled) { ReportKB->setEnabled(enabled); }

void TForm1::ClearTree() {
  treeItems_.clear();
  if (Form2) Form2->Synt->clear();
}

void TForm1::AddChild(const norvix::ResultNode* parent, const norvix::ResultNode& node) {
  if (!Form2) return;
  QTreeWidgetItem* above = parent ? treeItems_.value(parent, nullptr) : nullptr;
  auto* item = above ? new QTreeWidgetItem(above) : new QTreeWidgetItem(Form2->Synt);
  item->setText(0, displayText(node.Text));
  treeItems_.insert(&node, item);
}
