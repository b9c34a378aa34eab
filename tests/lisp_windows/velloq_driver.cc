#include "velloq_driver.h"

#include <QDir>
#include <QFile>
#include <QtTest>

const char kQuietSettings[] =
    "LOAD_DB_AT_STARTUP  FALSE\nSAVE_DB_ON_EXIT     FALSE\nALLOW_ERROR_MESSAGES        FALSE\n";

Environment::Environment(const QString& settings) : oldDir_(QDir::currentPath()) {
  QFile ini(dir.filePath(QStringLiteral("velloq.ini")));
  if (ini.open(QIODevice::WriteOnly)) ini.write(settings.toLatin1());
  ini.close();
  QDir::setCurrent(dir.path());
  form = std::make_unique<TMainForm>(dialogs);
  terminal = form->Form1;
  form->show();
  if (!QTest::qWaitForWindowExposed(form.get())) qWarning("the main window was not exposed");
  QCoreApplication::processEvents();
}

Environment::~Environment() {
  form.reset();
  QDir::setCurrent(oldDir_);
}

void typeText(QWidget* widget, const QString& text) {
  for (const QChar c : text) {
    if (c.unicode() < 128) QTest::keyClick(widget, c.toLatin1());
    else QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
  }
}

void Environment::type(const QString& line) {
  typeText(terminal->Input, line);
  QTest::keyClick(terminal->Input, Qt::Key_Return);
}

QStringList Environment::lines() const {
  return terminal->Output->toPlainText().split(QLatin1Char('\n'));
}

int Environment::count(const QString& line) const { return static_cast<int>(lines().count(line)); }

void Environment::closeWindow() {
  form->close();
  QCoreApplication::processEvents();
}

Typist::Typist(TForm1& terminal, QStringList replies)
    : terminal_(terminal), replies_(replies.begin(), replies.end()) {
  connect(&timer_, &QTimer::timeout, this, &Typist::tick);
  timer_.start(0);
}

void Typist::tick() {
  if (replies_.empty()) {
    timer_.stop();
    return;
  }
  if (!terminal_.awaitingInput()) return;
  const QString reply = replies_.front();
  replies_.pop_front();
  QTest::keyClicks(terminal_.Input, reply);
  QTest::keyClick(terminal_.Input, Qt::Key_Return);
}

void FakeBrowser::showHierarchy(bool shown) {
  hierarchy = shown;
  calls << QStringLiteral("hierarchy %1").arg(shown);
}

void FakeBrowser::showProject(bool shown) {
  project = shown;
  calls << QStringLiteral("project %1").arg(shown);
}

void FakeBrowser::openFrameViewer(const QString& frame) {
  calls << QStringLiteral("viewer ") + frame;
}

void FakeBrowser::newProject() { calls << QStringLiteral("new project"); }
