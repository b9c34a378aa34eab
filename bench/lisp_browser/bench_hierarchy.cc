// The hierarchy window over 10,000 frames, offscreen, painted:
//   OpenHierarchy/grouped  100 frames under FRAME with 100 children each;
//                          the window is made, shown, and every node
//                          expanded (10,100 frames read and shown)
//   OpenHierarchy/flat     10,000 frames under FRAME, FRAME expanded
//   RefreshExpanded/...    the rebuild every end-busy does with all of
//                          the above expanded
// The interpreter's headers come before Qt's, whose `slots` keyword would
// rename a member of the node record.
#include "streams.h"
#include "toplevel.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTreeWidget>
#include <memory>
#include <string>

#include "browser_windows.h"
#include "hierarchy_window.h"
#include "qt_dialogs.h"

namespace {

QApplication& App() {
  static int argc = 1;
  static char name[] = "bench_hierarchy";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication app(argc, argv);
  return app;
}

// Runs text through the top level; output is dropped.
class Runner : public velloq_windows::LispRunner {
 public:
  void run_lisp(const std::string& text) override {
    int more = 0;
    velloq::evaluate_top_level_text(text.c_str(), &more);
  }
  bool busy() const override { return false; }
};

void Run(Runner& r, const std::string& text) { r.run_lisp(text + "\n"); }

// A fresh interpreter holding 10,000 frames (plus 100 group frames when
// grouped).
void BuildFrames(Runner& r, bool grouped) {
  static bool started = false;
  if (started) velloq::stop_interpreter();
  velloq::console = velloq::ConsoleIO{};
  started = velloq::start_interpreter();
  for (int g = 0; g < 100; ++g) {
    const std::string group = "G" + std::to_string(g);
    if (grouped) Run(r, "(ADDFRAME '" + group + ")");
    for (int i = 0; i < 100; ++i) {
      const std::string f = group + "F" + std::to_string(i);
      Run(r, "(ADDFRAME '" + f + ")");
      if (grouped) Run(r, "(SETPARENTS " + f + " " + group + ")");
    }
  }
}

// Expands every node, reading children as the user would by clicking.
int ExpandAll(QTreeWidget* tree, bool onlyFrame) {
  int nodes = 0;
  std::vector<QTreeWidgetItem*> todo;
  for (int i = 0; i < tree->topLevelItemCount(); ++i) todo.push_back(tree->topLevelItem(i));
  while (!todo.empty()) {
    QTreeWidgetItem* item = todo.back();
    todo.pop_back();
    ++nodes;
    const bool wanted = !onlyFrame || item->text(0) == "NODE" || item->text(0) == "FRAME";
    if (wanted && item->childIndicatorPolicy() == QTreeWidgetItem::ShowIndicator) item->setExpanded(true);
    if (!item->isExpanded()) continue;
    for (int i = 0; i < item->childCount(); ++i) todo.push_back(item->child(i));
  }
  return nodes;
}

void BM_OpenHierarchy(benchmark::State& state) {
  App();
  const bool grouped = state.range(0) != 0;
  Runner runner;
  BuildFrames(runner, grouped);
  QtDialogs dialogs;
  int nodes = 0;
  for (auto _ : state) {
    velloq_browser::BrowserWindows windows(runner, nullptr, dialogs);
    windows.showHierarchy(true);
    nodes = ExpandAll(windows.hierarchy()->Tree, !grouped);
    QCoreApplication::processEvents();  // layout and paint
  }
  if (nodes < 10000) state.SkipWithError("the frames were not all shown");
  state.counters["nodes"] = nodes;
}

void BM_RefreshExpanded(benchmark::State& state) {
  App();
  const bool grouped = state.range(0) != 0;
  Runner runner;
  BuildFrames(runner, grouped);
  QtDialogs dialogs;
  velloq_browser::BrowserWindows windows(runner, nullptr, dialogs);
  windows.showHierarchy(true);
  ExpandAll(windows.hierarchy()->Tree, !grouped);
  QCoreApplication::processEvents();
  for (auto _ : state) {
    windows.endBusy();
    QCoreApplication::processEvents();
  }
  if (windows.hierarchy()->itemsNamed("G99F99").size() != 1)
    state.SkipWithError("the rebuild lost nodes");
}

BENCHMARK(BM_OpenHierarchy)->ArgName("grouped")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_RefreshExpanded)->ArgName("grouped")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
