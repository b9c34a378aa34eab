// What the frame browser windows need from the environment's main window,
// and what the main window needs from them.  Kept apart from both so that
// either side builds without the other.
#pragma once

#include <QObject>
#include <QString>

#include <string>

class QWidget;

namespace velloq_windows {

// Implemented by TMainForm.  Text is Windows-1251 inside std::string.
class LispRunner {
 public:
  virtual ~LispRunner() = default;
  // Runs Lisp text through the top level (begin-busy/end-busy, output to the
  // terminal), as typed.
  virtual void run_lisp(const std::string& text) = 0;
  // Whether an evaluation runs now (windows must not read node memory then).
  virtual bool busy() const = 0;
};

// Implemented by the frame browser windows (velloq_browser::BrowserWindows).
// TMainForm drives them only through this, so it builds and runs without them.
// TMainForm emits the Qt signals endBusy(), frameAdded(QString),
// frameRemoved(QString) and parentChanged(QString name, QString parent);
// connectTo() hooks the browser windows onto them.
class BrowserHost {
 public:
  virtual ~BrowserHost() = default;
  virtual void showHierarchy(bool shown) = 0;
  virtual void showProject(bool shown) = 0;
  virtual void openFrameViewer(const QString& frame) = 0;
  virtual void newProject() = 0;
  virtual bool hierarchyVisible() const = 0;
  virtual bool projectVisible() const = 0;
  // Connects the main window's signals; false when one is missing.
  virtual bool connectTo(QObject* main_form) = 0;
};

}  // namespace velloq_windows
