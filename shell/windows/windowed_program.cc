// runWindowed: the start of the windowed program.  Order: the splash shows
// at once; the main window and the results window are created; events run
// until the splash's timer has stopped; then the splash goes and the main
// window runs the event loop.
#include "windowed_program.h"

#include "cp1251.h"
#include "error_sink.h"
#include "file_open.h"
#include "kbase_messages.h"
#include "norvix_windows.h"
#ifdef NORVIX_EDITOR
#include "edit_form.h"
#endif
#include "qt_dialogs.h"
#include "qt_translation.h"
#include "splash_window.h"

#include <unistd.h>

#include <QApplication>
#include <QIcon>
#include <QLocale>
#include <QMessageBox>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>

namespace {

namespace msg = norvix::msg;
using namespace cp1251::literals;

// Qt ends the process when no display can be reached; say so plainly first.
bool displayReachable() {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (platform && *platform) return true;
  const char* x = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x && *x) || (wayland && *wayland);
}

// Shows the splash and paints it at once.
std::unique_ptr<TSplash> startSplash() {
  auto splash = std::make_unique<TSplash>();
  splash->show();
  splash->activateWindow();
  splash->setFocus();
  splash->repaint();
  QCoreApplication::processEvents();
  return splash;
}

int runEventLoop(QApplication& app, const std::string& file, bool showSplash) {
  std::unique_ptr<TSplash> splash;
  if (showSplash) splash = startSplash();
  QtDialogs dialogs;
  EditorMaker makeEditor;
#ifdef NORVIX_EDITOR
  makeEditor = [](TForm1& main, Dialogs& d) -> std::unique_ptr<QDialog> {
    return std::make_unique<TEditForm>(main, d);
  };
#endif
  std::unique_ptr<NorvixWindows> windows =
      StartWindows(dialogs, splash.get(), file, makeEditor);
  splash.reset();
  return app.exec();
}

// A file named on the command line that cannot be opened (a pipe, a
// device, a folder, a missing file) ends the program with the reason before
// any window shows: nothing would be loaded, and the message reaches the
// terminal that started it.
bool fileOpens(const std::string& file) {
  std::string reason;
  int fd = fileio::openRegular(file, &reason);
  if (fd >= 0) {
    ::close(fd);
    return true;
  }
  const std::string text = norvix::WithFileReason(msg::kCannotOpen, file, reason);
  std::fputs(cp1251::toLocale(msg::kErrorPrefix + text + "\n").c_str(), stderr);
  return false;
}

}  // namespace

int runWindowed(int argc, char** argv, const std::string& file, bool showSplash) {
  if (!file.empty() && !fileOpens(file)) return 2;
  if (!displayReachable()) {
    const std::string text = cp1251::toLocale(
        std::string(msg::kErrorPrefix) +
        "нет дисплея; используйте norvix --consult ФАЙЛ\n"_cp1251.c_str());
    std::fputs(text.c_str(), stderr);
    return 2;
  }
  QApplication app(argc, argv);
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/norvix/norvix.png")));
  QApplication::setDesktopFileName(QStringLiteral("norvix"));
  installQtTranslation(app, QLocale::system());
  try {
    return runEventLoop(app, file, showSplash);
  } catch (const std::exception& e) {
    QMessageBox::critical(nullptr, QStringLiteral("Norvix"), QString::fromLocal8Bit(e.what()));
  } catch (...) {
    QMessageBox::critical(nullptr, QStringLiteral("Norvix"), QStringLiteral("Unknown error"));
  }
  return 1;
}
