// What the consultation engine needs of the window it runs in.  The Qt main
// window implements it over Memo1, the answer panel, the toolbar and the tree
// Synt; the console consultation over standard input and output; tests with
// scripted answers.
#pragma once

#include <string>

namespace norvix {

struct ResultNode;

// The user's answer to one question.
enum class Reply { Yes, No, Cancel };

class EngineHost {
 public:
  virtual ~EngineHost() = default;

  // Appends `text` as a new line of the dialog (Windows-1251; it may hold
  // CR or CR LF).  The window gives Memo1 the focus and lets pending events
  // run.
  virtual void PrintLine(const std::string& text) = 0;

  // Shows the question line `line` (the question followed by " (Д/Н)? ")
  // as a new line and waits for the answer.  Yes and No append "[Д]" or
  // "[Н]" to the last line; Cancel prints nothing.  While it waits the
  // "Почему?" command may run (Engine::Why).  Closing the window while it
  // waits must answer Cancel.
  virtual Reply Ask(const std::string& line) = 0;

  // State of the main window's controls around a run: the answer panel
  // (Panel1) is shown and the toolbar disabled while a consultation runs;
  // the report button (ReportKB) is enabled after a success.
  virtual void ShowAnswerPanel(bool /*visible*/) {}
  virtual void EnableToolbar(bool /*enabled*/) {}
  virtual void EnableReportButton(bool /*enabled*/) {}

  // The result tree Synt: emptied when a run starts; `node` has just been
  // added under `parent` (nullptr = at the top level) in Engine::Tree(),
  // with node->Text as its line.
  virtual void ClearTree() {}
  virtual void AddChild(const ResultNode* /*parent*/, const ResultNode& /*node*/) {}
};

}  // namespace norvix
