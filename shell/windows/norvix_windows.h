// The windows of a running Norvix, created in the program's start order.
#pragma once

#include "dialogs.h"
#include "main_window.h"
#include "results_window.h"

#include <QDialog>
#include <functional>
#include <memory>
#include <string>

class TSplash;

// The windows go in the reverse order of their creation; the editor and
// Form2 are children of Form1.
struct NorvixWindows {
  std::unique_ptr<TForm1> Form1;
  std::unique_ptr<QDialog> EditForm;
  std::unique_ptr<TForm2> Form2;
};

// Makes the knowledge base editor of the main window; the editor attaches
// itself to it.
using EditorMaker = std::function<std::unique_ptr<QDialog>(TForm1& main, Dialogs& dialogs)>;

// Creates the main window, the editor (when `makeEditor` is given) and the
// results window, processes events until `splash` (when given) has stopped
// its timer, then hides and closes it, shows the main window and loads
// `file` when it is not empty.  `dialogs` must outlive the windows.
std::unique_ptr<NorvixWindows> StartWindows(Dialogs& dialogs, TSplash* splash,
                                            const std::string& file,
                                            const EditorMaker& makeEditor = {});
