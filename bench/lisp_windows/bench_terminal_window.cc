// 100,000 output lines through the terminal window with MAX_STORED_LINES at
// 800, the window shown (offscreen), each run ending with the window's
// pending events handled (layout and painting of what is left in view).
//   ShowText        the window's own entry point (show_text), one line a call
//   ConsoleWrite    the interpreter's console seam: the session stores and
//                   logs each line, then the window shows it
//   PrintLoop       a Lisp loop printing the lines, run as typed
// The console seam's header comes before Qt's, whose "slots" macro it
// would meet.
#include "streams.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>
#include <string>

#include "main_form.h"
#include "scripted_dialogs.h"
#include "terminal_window.h"

namespace {

const int kLines = 100000;

QApplication& App() {
  static int argc = 1;
  static char name[] = "bench_terminal_window";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication app(argc, argv);
  return app;
}

// The environment in a scratch folder, its log included.
struct Environment {
  QTemporaryDir dir;
  ScriptedDialogs dialogs;
  std::unique_ptr<TMainForm> form;

  Environment() {
    QFile ini(dir.filePath(QStringLiteral("velloq.ini")));
    if (ini.open(QIODevice::WriteOnly))
      ini.write("LOAD_DB_AT_STARTUP  FALSE\nSAVE_DB_ON_EXIT     FALSE\nMAX_STORED_LINES    800\n");
    ini.close();
    QDir::setCurrent(dir.path());
    form = std::make_unique<TMainForm>(dialogs);
    form->resize(800, 500);
    form->show();
    QCoreApplication::processEvents();
  }
};

Environment& TheEnvironment() {
  App();
  static Environment env;
  return env;
}

void BM_ShowText(benchmark::State& state) {
  TForm1& terminal = *TheEnvironment().form->Form1;
  std::string line;
  for (auto _ : state) {
    for (int i = 0; i < kLines; i++) {
      line = "line " + std::to_string(i) + " of the chatty program\n";
      terminal.show_text(line, false);
    }
    QCoreApplication::processEvents();
  }
  state.counters["lines"] = kLines;
}
BENCHMARK(BM_ShowText)->Unit(benchmark::kMillisecond);

void BM_ConsoleWrite(benchmark::State& state) {
  TheEnvironment();
  std::string line;
  for (auto _ : state) {
    for (int i = 0; i < kLines; i++) {
      line = "line " + std::to_string(i) + " of the chatty program\n";
      velloq::console.write_string(velloq::console.context, line.c_str(), false);
    }
    QCoreApplication::processEvents();
  }
  state.counters["lines"] = kLines;
}
BENCHMARK(BM_ConsoleWrite)->Unit(benchmark::kMillisecond);

void BM_PrintLoop(benchmark::State& state) {
  TForm1& terminal = *TheEnvironment().form->Form1;
  for (auto _ : state) {
    terminal.runText("(dotimes (i 100000) (print i))\n");
    QCoreApplication::processEvents();
  }
  state.counters["lines"] = kLines;
}
BENCHMARK(BM_PrintLoop)->Unit(benchmark::kMillisecond);

}  // namespace
