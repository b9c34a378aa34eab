#include "terminal_output.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>

TerminalOutput::TerminalOutput(QPlainTextEdit* pane, int maxLines)
    : QObject(pane), pane_(pane), end_(pane->document()), maxLines_(maxLines) {
  pane_->setMaximumBlockCount(maxLines_ + 1);  // and the line being written
  flushTimer_.setSingleShot(true);
  flushTimer_.setInterval(kFlushMs);
  connect(&flushTimer_, &QTimer::timeout, this, &TerminalOutput::flush);
}

void TerminalOutput::setMaxLines(int maxLines) {
  flush();
  maxLines_ = maxLines;
  pane_->setMaximumBlockCount(maxLines_ + 1);
}

void TerminalOutput::append(const QString& text, const QTextCharFormat* format) {
  if (text.isEmpty()) return;
  pending_.push_back({text, format, false});
  atLineStart_ = false;
  if (!flushTimer_.isActive()) flushTimer_.start();
}

void TerminalOutput::newLine(bool errorLine) {
  pending_.push_back({QString(), nullptr, errorLine});
  pendingLines_++;
  atLineStart_ = true;
  if (pendingLines_ > maxLines_) dropOldest();
  if (!flushTimer_.isActive()) flushTimer_.start();
}

// The oldest pending line would leave the pane as soon as it came.  When
// it continues the pane's last line, that line is ended instead.
void TerminalOutput::dropOldest() {
  while (!pending_.empty()) {
    const bool lineEnd = pending_.front().format == nullptr;
    pending_.pop_front();
    if (lineEnd) break;
  }
  pendingLines_--;
  if (!paneAtLineStart_) endPaneLine_ = true;
  paneAtLineStart_ = true;
}

void TerminalOutput::flush() {
  flushTimer_.stop();
  if (pending_.empty() && !endPaneLine_) return;
  end_.beginEditBlock();
  end_.movePosition(QTextCursor::End);
  if (endPaneLine_) end_.insertBlock();
  for (const Piece& piece : pending_) {
    if (piece.format) {
      end_.insertText(piece.text, *piece.format);
    } else {
      if (piece.errorLine) end_.block().setUserState(kErrorState);
      end_.insertBlock(QTextBlockFormat(), QTextCharFormat());
    }
  }
  end_.endEditBlock();
  pending_.clear();
  pendingLines_ = 0;
  endPaneLine_ = false;
  paneAtLineStart_ = atLineStart_;
  pane_->verticalScrollBar()->setValue(pane_->verticalScrollBar()->maximum());
}
