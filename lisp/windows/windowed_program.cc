// runWindowed: the start of the windowed environment.  Qt's application
// object and its event loop live on the interpreter's thread, because the
// interpreter lets the window system process events from deep inside an
// evaluation and needs that thread's large stack for its own recursion.
#include "windowed_program.h"

#include "main_form.h"
#include "qt_dialogs.h"
#include "qt_translation.h"
#include "terminal_window.h"
#include "velloq_splash.h"

#ifdef VELLOQ_BROWSER
#include "browser_windows.h"
#endif

#include <QAction>
#include <QApplication>
#include <QLocale>
#include <QMessageBox>
#include <exception>
#include <memory>

namespace {

int runEventLoop(QApplication& app, bool showSplash) {
  std::unique_ptr<TSplash> splash;
  if (showSplash) {
    splash = std::make_unique<TSplash>();
    splash->show();
    splash->repaint();
    QCoreApplication::processEvents();
  }
  QtDialogs dialogs;
  TMainForm form(dialogs);
#ifdef VELLOQ_BROWSER
  velloq_browser::BrowserWindows browser(form, &form, dialogs);
  form.setBrowserHost(&browser);
  // A window closed by its own close button takes its tick with it.
  QObject::connect(&browser, &velloq_browser::BrowserWindows::hierarchyVisibilityChanged,
                   form.HierarchyAction, &QAction::setChecked);
  QObject::connect(&browser, &velloq_browser::BrowserWindows::projectVisibilityChanged,
                   form.ProjectAction, &QAction::setChecked);
#endif
  form.show();
  form.Form1->Input->setFocus();
  if (splash) splash->finishAfter(1200);
  return app.exec();
}

}  // namespace

int runWindowed(int argc, char** argv, bool showSplash) {
  QApplication app(argc, argv);
  QApplication::setDesktopFileName(QStringLiteral("velloq"));
  installQtTranslation(app, QLocale::system());
  try {
    return runEventLoop(app, showSplash);
  } catch (const std::exception& e) {
    QMessageBox::critical(nullptr, QStringLiteral("Velloq"), QString::fromLocal8Bit(e.what()));
  }
  return 1;
}
