// A stand-in for the environment's main window in the browser tests: it
// starts the real interpreter, runs Lisp text through the top level,
// collects the output, passes the frame notifications on as the main
// window's signals and emits endBusy after each run.
#pragma once

#include <QObject>
#include <QString>
#include <string>
#include <vector>

#include "browser_link.h"
#include "frame_events.h"

class FakeMainForm : public QObject, public velloq_windows::LispRunner, public velloq::FrameEvents {
  Q_OBJECT

 public:
  FakeMainForm();
  ~FakeMainForm() override;

  void run_lisp(const std::string& text) override;
  bool busy() const override { return busy_; }

  // run_lisp of each text with a line feed added, in order (a caret name
  // is resolved when read, so a frame must exist before a text names it).
  void runEach(const std::vector<std::string>& texts);
  // Everything the interpreter wrote since the last call.
  std::string takeOutput();
  // Every text run, in order.
  const std::vector<std::string>& texts() const { return texts_; }
  // Notifications seen while busy (they must not read node memory).
  int notifications() const { return notifications_; }

  void frame_added(const char* name) override;
  void frame_removed(const char* name) override;
  void parent_changed(const char* name, const char* parent) override;

  std::string output_;

 signals:
  void endBusy();
  void frameAdded(const QString& name);
  void frameRemoved(const QString& name);
  void parentChanged(const QString& name, const QString& parent);

 private:
  bool busy_ = false;
  int notifications_ = 0;
  std::vector<std::string> texts_;
};
