// The terminal window: output pane, input field and the session's front
// end.  Output goes to the pane through TerminalOutput, which batches it;
// the pane keeps MAX_STORED_LINES lines (the session logs them all).
#include "terminal_window.h"

#include "ask_box.h"
#include "completion.h"
#include "cp1251.h"
#include "paren_match.h"
#include "qt_text.h"
#include "terminal_output.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTimer>
#include <QToolTip>
#include <QVBoxLayout>

namespace {

const QColor kErrorColour(255, 0, 0);  // the colour value 255: pure red
const int kLongestInput = 6;           // lines the input field grows to

QFont terminalFont() {
  QFont font(QStringLiteral("DejaVu Sans Mono"));
  font.setStyleHint(QFont::Monospace);
  font.setFixedPitch(true);
  return font;
}

// Characters that end a symbol name when looking back from the cursor.
bool endsName(QChar c) {
  return c.isSpace() || QStringLiteral("()'`,\";").contains(c);
}

// The input text with one byte per character, so that positions agree;
// only the ASCII syntax characters matter to the scan.
std::string scanText(const QString& text) {
  std::string bytes(text.size(), 'x');
  for (int i = 0; i < text.size(); i++)
    if (text[i].unicode() < 128) bytes[i] = static_cast<char>(text[i].unicode());
  return bytes;
}

}  // namespace

TForm1::TForm1(Dialogs& dialogs, QWidget* parent, const std::string& settingsPath)
    : QDockWidget(QStringLiteral("Terminal"), parent), dialogs_(dialogs) {
  setObjectName(QStringLiteral("Form1"));
  auto* body = new QWidget(this);
  auto* layout = new QVBoxLayout(body);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->setSpacing(2);
  Output = new QPlainTextEdit(body);
  Output->setObjectName(QStringLiteral("Output"));
  Output->setReadOnly(true);
  Output->setUndoRedoEnabled(false);
  Output->setFont(terminalFont());
  Output->viewport()->installEventFilter(this);
  Input = new QPlainTextEdit(body);
  Input->setObjectName(QStringLiteral("Input"));
  Input->setFont(terminalFont());
  Input->setLineWrapMode(QPlainTextEdit::NoWrap);
  Input->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  Input->installEventFilter(this);
  layout->addWidget(Output, 1);
  layout->addWidget(Input);
  setWidget(body);
  setFocusProxy(Input);
  connect(Input, &QPlainTextEdit::cursorPositionChanged, this, &TForm1::markParentheses);
  connect(Input, &QPlainTextEdit::textChanged, this, &TForm1::fitInputHeight);
  fitInputHeight();

  error_.setForeground(kErrorColour);
  bold_.setFontWeight(QFont::Bold);
  output_ = new TerminalOutput(Output, velloq_ui::Settings().max_stored_lines);
  session_ = std::make_unique<velloq_ui::TerminalSession>(*this, settingsPath);
  started_ = session_->start();
  applySettings(session_->settings());
  // EXIT in "init.lsp", or a failed start: the window ends once it runs.
  if (!started_ || session_->should_end())
    QMetaObject::invokeMethod(this, &TForm1::sessionEnded, Qt::QueuedConnection);
}

TForm1::~TForm1() { stopSession(); }

void TForm1::stopSession() {
  if (stopped_) return;
  stopped_ = true;
  session_->stop();
}

void TForm1::applySettings(const velloq_ui::Settings& settings) {
  output_->setMaxLines(settings.max_stored_lines);
}

// ---- typed input ----

void TForm1::InputEnter() {
  const QString typed = Input->toPlainText();
  if (awaiting_) {
    reply_ = cp1251::fromQString(typed.section(QLatin1Char('\n'), 0, 0));
    replied_ = true;
    Input->clear();
    if (waitLoop_) waitLoop_->quit();
    return;
  }
  if (!running() || busy()) return;
  Input->clear();
  for (const QString& line : typed.split(QLatin1Char('\n'))) {
    const std::string stored = cp1251::fromQString(line);
    echo(cp1251::toQString(stored));  // what was stored, should a character not fit
    session_->enter_line(stored);
    if (!running() || session_->should_end()) break;
  }
  checkSessionEnd();
}

void TForm1::runText(const std::string& text) {
  if (!running() || busy()) return;
  session_->run_text(text);
  checkSessionEnd();
}

void TForm1::checkSessionEnd() {
  if (session_->should_end()) emit sessionEnded();
}

void TForm1::requestBreak() {
  breakRequested_ = true;
  if (waitLoop_) waitLoop_->quit();
}

void TForm1::historyKey(bool older) {
  auto& history = session_->history();
  const std::string entry = older ? history.older() : history.newer();
  Input->setPlainText(cp1251::toQString(entry));
  Input->moveCursor(QTextCursor::End);
}

void TForm1::completeSymbol() {
  lastCompletions_.clear();
  QTextCursor cursor = Input->textCursor();
  const QString text = Input->toPlainText();
  const int pos = cursor.position();
  int start = pos;
  while (start > 0 && !endsName(text[start - 1])) start--;
  const QString prefix = text.mid(start, pos - start);
  if (prefix.isEmpty()) return;
  const auto names = velloq::symbol_completions(cp1251::fromQString(prefix));
  if (names.empty()) return;
  std::string common = names.front();
  for (const std::string& name : names) {
    size_t n = 0;
    while (n < common.size() && n < name.size() && common[n] == name[n]) n++;
    common.resize(n);
  }
  // Typed in lower case, completed in lower case.
  const bool lower = prefix == prefix.toLower() && prefix != prefix.toUpper();
  const QString completion = cp1251::toQString(lower ? cp1251::toLower(common) : common);
  if (completion.size() > prefix.size()) {
    cursor.setPosition(start);
    cursor.setPosition(pos, QTextCursor::KeepAnchor);
    cursor.insertText(completion);
    Input->setTextCursor(cursor);
    return;
  }
  for (const std::string& name : names) lastCompletions_ << cp1251::toQString(name);
  QToolTip::showText(Input->mapToGlobal(Input->cursorRect().bottomLeft()),
                     lastCompletions_.join(QLatin1Char(' ')), Input);
}

// The parenthesis at the cursor and its partner are highlighted; one
// without a partner shows in the error colour.
void TForm1::markParentheses() {
  QList<QTextEdit::ExtraSelection> marks;
  const QString text = Input->toPlainText();
  const int pos = Input->textCursor().position();
  int at = -1;
  if (pos > 0 && (text[pos - 1] == QLatin1Char(')') || text[pos - 1] == QLatin1Char('(')))
    at = pos - 1;
  else if (pos < text.size() && (text[pos] == QLatin1Char('(') || text[pos] == QLatin1Char(')')))
    at = pos;
  if (at >= 0) {
    const long partner = velloq_windows::matching_paren(scanText(text), at);
    auto mark = [&](int where, const QColor& colour) {
      QTextEdit::ExtraSelection s;
      s.cursor = QTextCursor(Input->document());
      s.cursor.setPosition(where);
      s.cursor.setPosition(where + 1, QTextCursor::KeepAnchor);
      s.format.setBackground(colour);
      marks << s;
    };
    if (partner >= 0) {
      mark(at, QColor(170, 230, 170));
      mark(static_cast<int>(partner), QColor(170, 230, 170));
    } else {
      mark(at, QColor(255, 170, 170));
    }
  }
  Input->setExtraSelections(marks);
}

void TForm1::fitInputHeight() {
  const int lines = std::clamp(Input->document()->blockCount(), 1, kLongestInput);
  const int margins = 2 * Input->frameWidth() + 2 * static_cast<int>(Input->document()->documentMargin());
  Input->setFixedHeight(Input->fontMetrics().lineSpacing() * lines + margins);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Input && event->type() == QEvent::KeyPress)
    return inputKey(static_cast<QKeyEvent*>(event));
  if (watched == Output->viewport() && event->type() == QEvent::MouseButtonRelease) {
    auto* click = static_cast<QMouseEvent*>(event);
    const QTextBlock block = Output->cursorForPosition(click->position().toPoint()).block();
    if (click->button() == Qt::LeftButton && block.userState() == TerminalOutput::kErrorState)
      emit errorLineClicked(block.text());
  }
  return QDockWidget::eventFilter(watched, event);
}

// While busy only Escape reaches the field (it raises the break), unless
// a program awaits a line.
bool TForm1::inputKey(QKeyEvent* key) {
  if (key->key() == Qt::Key_Escape) {
    if (busy()) requestBreak();
    return true;
  }
  if (busy() && !awaiting_) return true;
  const bool shift = key->modifiers() & Qt::ShiftModifier;
  switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (shift && !awaiting_) Input->insertPlainText(QStringLiteral("\n"));
      else InputEnter();
      return true;
    case Qt::Key_Up:
      if (Input->textCursor().blockNumber() != 0) return false;
      historyKey(true);
      return true;
    case Qt::Key_Down:
      if (Input->textCursor().blockNumber() != Input->document()->blockCount() - 1) return false;
      historyKey(false);
      return true;
    case Qt::Key_Tab:
      if (!awaiting_) completeSymbol();
      return true;
    default:
      return false;
  }
}

// ---- output ----

void TForm1::appendText(const QString& text, const QTextCharFormat& format) {
  if (text.isEmpty()) return;
  output_->append(text, &format);
  if (&format == &error_) lineIsError_ = true;
}

void TForm1::newLine() {
  if (lineIsError_) errorLines_++;
  output_->newLine(lineIsError_);
  lineIsError_ = false;
}

void TForm1::echo(const QString& line) {
  if (!output_->atLineStart()) newLine();
  appendText(QStringLiteral("\u2022 ") + line, normal_);
  newLine();
}

void TForm1::show_text(std::string_view text, bool error_colour) {
  const QTextCharFormat& format = error_colour ? error_ : normal_;
  size_t start = 0;
  for (size_t i = 0; i <= text.size(); i++) {
    if (i < text.size() && text[i] != '\n' && text[i] != '\r') continue;
    appendText(cp1251::toQString(text.substr(start, i - start)), format);
    if (i < text.size() && text[i] == '\n') newLine();
    start = i + 1;
  }
}

void TForm1::end_line() {
  if (!output_->atLineStart()) newLine();
}

void TForm1::show_banner(const std::string& banner) {
  end_line();
  appendText(cp1251::toQString(banner), bold_);
  newLine();
}

// ---- a running program asks ----

velloq_ui::LineRead TForm1::read_line(std::string_view prompt, std::string* line) {
  (void)prompt;  // already on the current output line
  if (stopped_) return velloq_ui::LineRead::EndOfInput;
  output_->flush();
  awaiting_ = true;
  replied_ = false;
  Input->setReadOnly(false);
  Input->setFocus();
  QEventLoop loop;
  waitLoop_ = &loop;
  while (!replied_ && !breakRequested_) loop.exec();
  waitLoop_ = nullptr;
  awaiting_ = false;
  Input->setReadOnly(true);
  if (!replied_) {
    breakRequested_ = false;
    return velloq_ui::LineRead::Interrupted;
  }
  appendText(cp1251::toQString(reply_), normal_);
  *line = reply_;
  return velloq_ui::LineRead::Line;
}

bool TForm1::ask_box(const std::string& question, std::string* answer) {
  output_->flush();
  TAskBox box(this);
  box.setQuestion(cp1251::toQString(question));
  const int result = dialogs_.runModal(box);
  if (result != QDialog::Accepted) return false;
  *answer = cp1251::fromQString(box.answer());
  return true;
}

bool TForm1::take_break_request() {
  const bool requested = breakRequested_;
  breakRequested_ = false;
  return requested;
}

void TForm1::process_events() { QCoreApplication::processEvents(); }

void TForm1::show_error_message(const std::string& line) {
  output_->flush();
  dialogs_.showError(this, QStringLiteral("Error"), cp1251::toQString(line));
}

void TForm1::report_problem(const std::string& text) {
  output_->flush();
  dialogs_.showError(this, QStringLiteral("Error"), cp1251::toQString(text));
}

void TForm1::begin_busy() {
  Input->setReadOnly(true);
  breakRequested_ = false;
  emit busyStarted();
}

void TForm1::end_busy() {
  Input->setReadOnly(false);
  breakRequested_ = false;
  output_->flush();
  emit busyEnded();
}
