// RefreshEditor over the knowledge base of 100,000 frames (1,000
// prototypes, 99,000 samples, 30 slot definitions): every page emptied and
// filled again, the tree with 100,000 nodes, the sample box with 99,000
// entries, the target box with 1,000.
//   RefreshEditor/hidden   the editor closed (a load or clear from the main window)
//   RefreshEditor/shown    the editor open, page "Прототипы" in front
//   DeleteWholeForest      DelProtoClick on the root prototype: every frame
//                          leaves the base, the tree and the boxes
//   controls_MB            heap the filled controls hold: malloc'd bytes in use
//                          after the refresh of the large base, less those
//                          before it (the editor had shown an empty base)
#include <benchmark/benchmark.h>

#include <QApplication>
#include <malloc.h>
#include <memory>

#include "edit_form.h"
#include "large_base.h"
#include "scripted_dialogs.h"
#include "main_window.h"

namespace {

size_t MallocInUse() { return mallinfo2().uordblks; }

// One application for the program, without a display.
QApplication& App() {
  static int argc = 1;
  static char name[] = "bench_editor";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication app(argc, argv);
  return app;
}

struct Editor {
  ScriptedDialogs dialogs;
  TForm1 form{dialogs};
  TEditForm editor{form, dialogs};
  double controlsMB = 0;

  Editor() {
    bench::BuildLargeBase(form.KBase());
    const size_t base = MallocInUse();
    editor.RefreshEditor();
    controlsMB = static_cast<double>(MallocInUse() - base) / 1e6;
  }
};

Editor& TheEditor() {
  App();
  static Editor editor;
  return editor;
}

void BM_RefreshEditor(benchmark::State& state) {
  Editor& e = TheEditor();
  const bool shown = state.range(0) != 0;
  if (shown) {
    e.editor.show();
    e.editor.Pages->setCurrentWidget(e.editor.PageProto);
    QCoreApplication::processEvents();
  }
  for (auto _ : state) {
    e.editor.RefreshEditor();
    if (shown) QCoreApplication::processEvents();  // the paint and layout it causes
  }
  if (shown) e.editor.hide();
  if (e.editor.ProtoList->topLevelItemCount() == 0 || e.editor.SampCombo->count() != 99000)
    state.SkipWithError("the editor did not show the base");
  state.counters["controls_MB"] = e.controlsMB;
  state.counters["frames"] = static_cast<double>(e.form.KBase().Frames().size());
}

void BM_DeleteWholeForest(benchmark::State& state) {
  App();
  for (auto _ : state) {
    state.PauseTiming();
    auto e = std::make_unique<Editor>();
    e->editor.ProtoList->setCurrentItem(e->editor.ProtoList->topLevelItem(0));
    e->dialogs.answerWarning(Dialogs::Reply::Yes);
    state.ResumeTiming();
    e->editor.DelProtoClick();
    state.PauseTiming();
    if (!e->form.KBase().Frames().empty() || e->editor.SampCombo->count() != 0)
      state.SkipWithError("the forest was not deleted");
    e.reset();
    state.ResumeTiming();
  }
}

BENCHMARK(BM_DeleteWholeForest)->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK(BM_RefreshEditor)
    ->ArgName("shown")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

}  // namespace
