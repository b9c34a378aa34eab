// The output pane's writer: text and line ends from the interpreter are
// collected and put into the pane in batches, when the window system gets
// its turn (at most every kFlushMs) or when the terminal waits for the
// user.  Lines that would scroll out of the pane before they were ever
// shown are never laid out: a chatty program costs little more than the
// lines the pane keeps.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTimer>
#include <deque>

class QPlainTextEdit;

class TerminalOutput : public QObject {
  Q_OBJECT

 public:
  // Writes into `pane`, which keeps `maxLines` lines.
  TerminalOutput(QPlainTextEdit* pane, int maxLines);

  // Appends text (no line ends) in `format`, which must outlive the writer.
  void append(const QString& text, const QTextCharFormat* format);
  // Ends the current line; an error line is marked with `errorState`.
  void newLine(bool errorLine);
  // The current line is empty.
  bool atLineStart() const { return atLineStart_; }
  // Puts what is collected into the pane and scrolls to its end.
  void flush();
  void setMaxLines(int maxLines);

  // The block state of lines that were written in the error colour.
  static const int kErrorState = 1;
  static const int kFlushMs = 40;

 private:
  struct Piece {
    QString text;
    const QTextCharFormat* format;  // null: a line end
    bool errorLine;
  };
  void dropOldest();

  QPlainTextEdit* pane_;
  QTextCursor end_;
  std::deque<Piece> pending_;
  int pendingLines_ = 0;        // line ends among pending_
  int maxLines_;
  bool atLineStart_ = true;
  bool paneAtLineStart_ = true;  // the pane's last line is empty
  bool endPaneLine_ = false;     // end the pane's last line before the rest
  QTimer flushTimer_;
};
