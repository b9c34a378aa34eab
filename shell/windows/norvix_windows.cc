// StartWindows: the windows, the wait for the splash, the first load.
#include "norvix_windows.h"

#include "display_text.h"
#include "splash_window.h"

#include <QCoreApplication>
#include <QFile>

namespace {

// The splash stays until its progress timer has stopped.
void waitForSplash(TSplash& splash) {
  while (!splash.finished() && splash.isVisible())
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  splash.hide();
  splash.close();
}

}  // namespace

std::unique_ptr<NorvixWindows> StartWindows(Dialogs& dialogs, TSplash* splash,
                                            const std::string& file,
                                            const EditorMaker& makeEditor) {
  auto windows = std::make_unique<NorvixWindows>();
  windows->Form1 = std::make_unique<TForm1>(dialogs);
  if (makeEditor) windows->EditForm = makeEditor(*windows->Form1, dialogs);
  windows->Form2 = std::make_unique<TForm2>(windows->Form1.get());
  windows->Form1->setResultsWindow(windows->Form2.get());
  if (splash) waitForSplash(*splash);
  windows->Form1->show();
  if (!file.empty())
    windows->Form1->LoadFile(file, fileNameForDialog(QFile::decodeName(file.c_str())));
  return windows;
}
