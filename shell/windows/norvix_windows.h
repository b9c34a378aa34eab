// The windows of a running Norvix, created in the program's start order.
#pragma once

#include "dialogs.h"
#include "main_window.h"
#include "results_window.h"

#include <memory>
#include <string>

class TSplash;

// Form2 is declared last so that it goes first: it is a child of Form1.
struct NorvixWindows {
  std::unique_ptr<TForm1> Form1;
  std::unique_ptr<TForm2> Form2;
};

// Creates the main window and then the results window (the editor comes
// between the two), processes events until `splash` (when given) has
// stopped its timer, then hides and closes it, shows the main window and
// loads `file` when it is not empty.  `dialogs` must outlive the windows.
std::unique_ptr<NorvixWindows> StartWindows(Dialogs& dialogs, TSplash* splash,
                                            const std::string& file);
