// What the tests of the Velloq windows share: a main window started in a
// scratch folder with scripted dialogs, typing into the terminal, a typist
// that answers a program waiting for a line, and a stand-in for the frame
// browser windows.
#pragma once

#include "browser_link.h"
#include "main_form.h"
#include "scripted_dialogs.h"
#include "terminal_window.h"

#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <deque>
#include <memory>

// Types `text` into `widget` key by key, letters beyond ASCII included.
void typeText(QWidget* widget, const QString& text);

// Settings that keep the scratch folder quiet: no database at start or exit.
extern const char kQuietSettings[];

// A main window with its terminal, in a scratch folder that is the working
// directory while it lives.  `settings` is written as "velloq.ini" first.
class Environment {
 public:
  explicit Environment(const QString& settings = QString::fromLatin1(kQuietSettings));
  ~Environment();

  // Types `line` into the input field and presses Enter.
  void type(const QString& line);
  // The lines of the output pane.
  QStringList lines() const;
  // Whether the pane holds `line` as a whole line; how many times.
  int count(const QString& line) const;
  // Ends the session as the exit does and forgets the window.
  void closeWindow();
  QString path(const QString& name) const { return dir.filePath(name); }

  QTemporaryDir dir;
  ScriptedDialogs dialogs;
  std::unique_ptr<TMainForm> form;
  TForm1* terminal = nullptr;

 private:
  QString oldDir_;
};

// Answers, in order, the lines that running programs wait for: each is
// typed into the input field once the terminal awaits input.
class Typist : public QObject {
  Q_OBJECT

 public:
  Typist(TForm1& terminal, QStringList replies);
  int left() const { return static_cast<int>(replies_.size()); }

 private:
  void tick();
  TForm1& terminal_;
  std::deque<QString> replies_;
  QTimer timer_;
};

// Records what the main window asks of the frame browser windows.
class FakeBrowser : public velloq_windows::BrowserHost {
 public:
  QStringList calls;
  bool hierarchy = false;
  bool project = false;
  QObject* connectedTo = nullptr;

  void showHierarchy(bool shown) override;
  void showProject(bool shown) override;
  void openFrameViewer(const QString& frame) override;
  void newProject() override;
  bool hierarchyVisible() const override { return hierarchy; }
  bool projectVisible() const override { return project; }
  bool connectTo(QObject* mainForm) override {
    connectedTo = mainForm;
    return true;
  }
};
