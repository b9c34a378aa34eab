// The frame browser windows with real widgets, clicks and keys, over the
// real interpreter run by a stand-in main window; dialogs are scripted.
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "browser_windows.h"
#include "fake_main_form.h"
#include "frame_inspect.h"
#include "frame_view.h"
#include "hierarchy_window.h"
#include "new_prop_form.h"
#include "paren_match.h"
#include "project_window.h"
#include "scripted_dialogs.h"
#include "text_editor.h"

using velloq_browser::BrowserWindows;

namespace {

// The names of the nodes under item, in order.
QStringList childNames(QTreeWidgetItem* item) {
  QStringList names;
  for (int i = 0; i < item->childCount(); ++i) names.append(item->child(i)->text(0));
  return names;
}

QTreeWidgetItem* only(const QList<QTreeWidgetItem*>& items) {
  return items.size() == 1 ? items.first() : nullptr;
}

}  // namespace

class BrowserWindowsTest : public QObject {
  Q_OBJECT

  std::unique_ptr<FakeMainForm> form;
  std::unique_ptr<ScriptedDialogs> dialogs;
  std::unique_ptr<BrowserWindows> windows;

  THierarchy* openHierarchy() {
    windows->showHierarchy(true);
    THierarchy* h = windows->hierarchy();
    QTreeWidgetItem* frame = only(h->itemsNamed("FRAME"));
    if (frame) frame->setExpanded(true);
    return h;
  }

  TFrameView* viewer(const QString& frame) {
    TFrameView* v = windows->openViewer(frame);
    return QTest::qWaitForWindowExposed(v) ? v : nullptr;
  }

  static QString cell(TFrameView* v, const char* slot, int column) {
    QTreeWidgetItem* row = v->slotRow(slot);
    return row ? row->text(column) : QStringLiteral("<no row>");
  }

 private slots:
  void init() {
    form = std::make_unique<FakeMainForm>();
    dialogs = std::make_unique<ScriptedDialogs>();
    windows = std::make_unique<BrowserWindows>(*form, nullptr, *dialogs);
    QVERIFY(windows->connectTo(form.get()));
  }

  void cleanup() {
    QVERIFY2(dialogs->mismatches().isEmpty(), qPrintable(dialogs->mismatches().join(u'\n')));
    QCOMPARE(dialogs->pending(), 0);
    windows.reset();
    dialogs.reset();
    form.reset();
  }

  void connectToNeedsTheFourSignals() {
    QObject plain;
    for (int i = 0; i < 4; ++i) QTest::ignoreMessage(QtWarningMsg, QRegularExpression("No such signal"));
    QVERIFY(!windows->connectTo(&plain));
  }

  void hierarchyFollowsAddframe() {
    THierarchy* h = openHierarchy();
    QTreeWidgetItem* frame = only(h->itemsNamed("FRAME"));
    QVERIFY(frame);
    // The node comes with the notification, before the run has ended.
    int seenDuringRun = -1;
    connect(form.get(), &FakeMainForm::frameAdded, this,
            [&] { seenDuringRun = int(h->itemsNamed("CAR").size()); });
    form->run_lisp("(ADDFRAME 'CAR)\n");
    QCOMPARE(seenDuringRun, 1);
    QTreeWidgetItem* car = only(h->itemsNamed("CAR"));
    QVERIFY(car);
    QCOMPARE(car->parent()->text(0), QStringLiteral("FRAME"));
  }

  void hierarchyFollowsSetparentsAndDelframe() {
    THierarchy* h = openHierarchy();
    form->run_lisp("(ADDFRAME 'CAR)\n");
    form->run_lisp("(ADDFRAME 'TRUCK)\n");
    only(h->itemsNamed("CAR"))->setExpanded(true);
    form->run_lisp("(SETPARENTS TRUCK CAR)\n");
    QTreeWidgetItem* truck = only(h->itemsNamed("TRUCK"));
    QVERIFY(truck);
    QCOMPARE(truck->parent()->text(0), QStringLiteral("CAR"));
    QVERIFY(!childNames(only(h->itemsNamed("FRAME"))).contains("TRUCK"));
    form->run_lisp("(DELFRAME 'TRUCK)\n");
    QVERIFY(h->itemsNamed("TRUCK").isEmpty());
    QVERIFY(childNames(only(h->itemsNamed("CAR"))).isEmpty());
  }

  void hierarchyExpandsLazily() {
    form->runEach({"(ADDFRAME 'A)", "(ADDCHILD 'A)", "(ADDCHILD 'A1)"});
    THierarchy* h = openHierarchy();
    QTreeWidgetItem* a = only(h->itemsNamed("A"));
    QVERIFY(a);
    QCOMPARE(a->childCount(), 0);  // not read yet
    QCOMPARE(a->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
    a->setExpanded(true);
    QCOMPARE(childNames(a), QStringList{"A1"});
    QVERIFY(h->itemsNamed("A11").isEmpty());
    // A rebuild keeps what was expanded.
    h->refresh();
    QVERIFY(only(h->itemsNamed("A"))->isExpanded());
    QCOMPARE(h->itemsNamed("A1").size(), 1);
  }

  void refreshKeepsTheScrollPosition() {
    form->run_lisp("(DOTIMES (I 200) (ADDFRAME (INTERN (FORMAT NIL \"F~A\" I))))\n");
    THierarchy* h = openHierarchy();
    QVERIFY(QTest::qWaitForWindowExposed(h));
    QScrollBar* bar = h->Tree->verticalScrollBar();
    QVERIFY(bar->maximum() > 100);
    bar->setValue(bar->maximum() / 2);
    const int before = bar->value();
    form->run_lisp("(ADDFRAME 'ZZZ)\n");
    QCOMPARE(bar->value(), before);
  }

  void addChildFromTheHierarchy() {
    form->run_lisp("(ADDFRAME 'CAR)\n");
    THierarchy* h = openHierarchy();
    QTreeWidgetItem* car = only(h->itemsNamed("CAR"));
    car->setExpanded(true);
    h->AddChildClick(car);
    QCOMPARE(form->texts().back(), std::string("(ADDCHILD 'CAR)\n"));
    QCOMPARE(childNames(only(h->itemsNamed("CAR"))), QStringList{"CAR1"});
  }

  void deleteFrameAsksAndTakesTheSubtree() {
    form->runEach({"(ADDFRAME 'CAR)", "(ADDCHILD 'CAR)", "(ADDCHILD 'CAR1)"});
    THierarchy* h = openHierarchy();
    const size_t runs = form->texts().size();
    dialogs->answerWarning(Dialogs::Reply::No);
    h->DeleteFrameClick(only(h->itemsNamed("CAR")));
    QCOMPARE(form->texts().size(), runs);
    QVERIFY(dialogs->calls().back().text.contains("CAR"));
    QVERIFY(dialogs->calls().back().text.contains("2 frame"));
    dialogs->answerWarning(Dialogs::Reply::Yes);
    h->DeleteFrameClick(only(h->itemsNamed("CAR")));
    QVERIFY(h->itemsNamed("CAR").isEmpty());
    QVERIFY(!velloq::frame_exists("CAR") && !velloq::frame_exists("CAR1") &&
            !velloq::frame_exists("CAR11"));
    // A frame of the built-in hierarchy is never deleted (nor asked about).
    h->DeleteFrameClick(only(h->itemsNamed("FRAME")));
    QCOMPARE(form->texts().size(), runs + 1);
    QVERIFY(velloq::frame_exists("FRAME"));
  }

  void dropReparents() {
    form->run_lisp("(PROGN (ADDFRAME 'A) (ADDFRAME 'B))\n");
    THierarchy* h = openHierarchy();
    QVERIFY(QTest::qWaitForWindowExposed(h));
    QTreeWidgetItem* a = only(h->itemsNamed("A"));
    QTreeWidgetItem* b = only(h->itemsNamed("B"));
    h->Tree->setCurrentItem(a);
    // The drop takes the dragged node to be the current one.
    auto mime = std::make_unique<QMimeData>();
    mime->setData("application/x-qabstractitemmodeldatalist", QByteArray());
    const QPointF at = h->Tree->visualItemRect(b).center();
    QDragEnterEvent enter(at.toPoint(), Qt::MoveAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(h->Tree->viewport(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(at, Qt::MoveAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(h->Tree->viewport(), &drop);
    QCOMPARE(form->texts().back(), std::string("(SETPARENTS A B)\n"));
    only(h->itemsNamed("B"))->setExpanded(true);
    QCOMPARE(childNames(only(h->itemsNamed("B"))), QStringList{"A"});
  }

  void doubleClickOpensAViewer() {
    form->run_lisp("(ADDFRAME 'CAR)\n");
    THierarchy* h = openHierarchy();
    QVERIFY(QTest::qWaitForWindowExposed(h));
    QTreeWidgetItem* car = only(h->itemsNamed("CAR"));
    const QPoint at = h->Tree->visualItemRect(car).center();
    QTest::mouseClick(h->Tree->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(h->Tree->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QCOMPARE(windows->frameViewers().size(), 1);
    QCOMPARE(windows->frameViewers().first()->frame(), std::string("CAR"));
  }

  void viewerShowsOwnAndInheritedSlots() {
    form->runEach({"(ADDFRAME 'CAR)", "(SETQ CAR^COLOR 'RED)", "(ADDCHILD 'CAR)"});
    form->run_lisp("(DEFUN CAR^GO (SPEED) (* SPEED 2))\n");
    TFrameView* v = viewer("CAR1");
    QVERIFY(v);
    QCOMPARE(v->FrameEdit->text(), QStringLiteral("CAR1"));
    QVERIFY(v->ParentsLabel->text().contains("CAR"));
    QCOMPARE(cell(v, "IS", TFrameView::FromColumn), QString());
    QCOMPARE(cell(v, "COLOR", TFrameView::ValueColumn), QStringLiteral("RED"));
    QCOMPARE(cell(v, "COLOR", TFrameView::FromColumn), QStringLiteral("CAR"));
    QCOMPARE(cell(v, "GO", TFrameView::MethodColumn), QStringLiteral("(SPEED)"));
    QVERIFY(v->slotRow("COLOR")->font(0).italic());
  }

  void viewerEditsAValueInTheTextEditor() {
    form->runEach({"(ADDFRAME 'CAR)", "(SETQ CAR^COLOR 'RED)"});
    TFrameView* v = viewer("CAR");
    QVERIFY(v);
    v->SlotList->setCurrentItem(v->slotRow("COLOR"));
    QString shown;
    dialogs->answerModal([&](QDialog& d) {
      auto& editor = dynamic_cast<TForm2&>(d);
      shown = editor.text();
      editor.Memo1->selectAll();
      QTest::keyClicks(editor.Memo1, "'(BLUE GREEN)");
      QTest::mouseClick(editor.OkButton, Qt::LeftButton);
      return editor.result();
    });
    QTest::mouseClick(v->EditValueButton, Qt::LeftButton);
    QCOMPARE(shown, QStringLiteral("'RED"));
    QCOMPARE(cell(v, "COLOR", TFrameView::ValueColumn), QStringLiteral("(BLUE GREEN)"));
  }

  void editingAnInheritedValueOverridesIt() {
    form->runEach({"(ADDFRAME 'CAR)", "(SETQ CAR^COLOR 'RED)", "(ADDCHILD 'CAR)"});
    TFrameView* v = viewer("CAR1");
    QVERIFY(v);
    v->SlotList->setCurrentItem(v->slotRow("COLOR"));
    dialogs->answerModal([](QDialog& d) {
      dynamic_cast<TForm2&>(d).Memo1->setPlainText("'BLUE");
      return int(QDialog::Accepted);
    });
    QTest::mouseClick(v->EditValueButton, Qt::LeftButton);
    QCOMPARE(cell(v, "COLOR", TFrameView::ValueColumn), QStringLiteral("BLUE"));
    QCOMPARE(cell(v, "COLOR", TFrameView::FromColumn), QString());
    form->takeOutput();
    form->run_lisp("(PRINT CAR^COLOR)\n");
    QVERIFY(form->takeOutput().find("RED") != std::string::npos);
  }

  void editingTheInheritanceSlotReparents() {
    form->runEach({"(ADDFRAME 'CAR)", "(ADDFRAME 'TRUCK)", "(ADDCHILD 'CAR)"});
    TFrameView* v = viewer("CAR1");
    QVERIFY(v);
    v->SlotList->setCurrentItem(v->slotRow("IS"));
    QVERIFY(!v->EditMethodButton->isEnabled());
    dialogs->answerModal([](QDialog& d) {
      auto& editor = dynamic_cast<TForm2&>(d);
      if (editor.text() != "CAR") return int(QDialog::Rejected);
      editor.Memo1->setPlainText("TRUCK");
      return int(QDialog::Accepted);
    });
    QTest::mouseClick(v->EditValueButton, Qt::LeftButton);
    QCOMPARE(form->texts().back(), std::string("(SETSLOTVALUE CAR1 'IS TRUCK\n)\n"));
    QVERIFY(v->ParentsLabel->text().contains("TRUCK"));
    QVERIFY(!v->ParentsLabel->text().contains(">CAR<"));
  }

  void cancelledEditRunsNothing() {
    form->runEach({"(ADDFRAME 'CAR)", "(SETQ CAR^COLOR 'RED)"});
    TFrameView* v = viewer("CAR");
    QVERIFY(v);
    v->SlotList->setCurrentItem(v->slotRow("COLOR"));
    const size_t runs = form->texts().size();
    dialogs->answerModal([](QDialog& d) {
      auto& editor = dynamic_cast<TForm2&>(d);
      editor.Memo1->setPlainText("'BLUE");
      QTest::mouseClick(editor.CancelButton, Qt::LeftButton);
      return editor.result();
    });
    QTest::mouseClick(v->EditValueButton, Qt::LeftButton);
    QCOMPARE(form->texts().size(), runs);
    QCOMPARE(cell(v, "COLOR", TFrameView::ValueColumn), QStringLiteral("RED"));
  }

  void viewerRefreshesAfterAChangeRunElsewhere() {
    form->run_lisp("(PROGN (ADDFRAME 'CAR) (ADDCHILD 'CAR))\n");
    TFrameView* parent = viewer("CAR");
    TFrameView* child = viewer("CAR1");
    QVERIFY(parent && child);
    QVERIFY(!parent->slotRow("SPEED"));
    form->run_lisp("(SETQ CAR^SPEED 100)\n");  // as typed in the terminal
    QCOMPARE(cell(parent, "SPEED", TFrameView::ValueColumn), QStringLiteral("100"));
    QCOMPARE(cell(child, "SPEED", TFrameView::ValueColumn), QStringLiteral("100"));
    QCOMPARE(cell(child, "SPEED", TFrameView::FromColumn), QStringLiteral("CAR"));
    form->run_lisp("(DELFRAME 'CAR)\n");
    QVERIFY(parent->ParentsLabel->text().contains("no frame"));
    QCOMPARE(parent->SlotList->topLevelItemCount(), 0);
    QVERIFY(!parent->NewSlotButton->isEnabled());
  }

  void newSlotDialogAddsASlot() {
    form->run_lisp("(ADDFRAME 'CAR)\n");
    TFrameView* v = viewer("CAR");
    QVERIFY(v);
    dialogs->answerModal([](QDialog& d) {
      auto& f = dynamic_cast<TNewPropForm&>(d);
      if (f.OkButton->isEnabled()) return int(QDialog::Rejected);  // no name yet
      QTest::keyClicks(f.NameEdit, "WHEELS");
      QTest::keyClicks(f.ValueEdit, "(+ 2 2)");
      QTest::mouseClick(f.OkButton, Qt::LeftButton);
      return f.result();
    });
    QTest::mouseClick(v->NewSlotButton, Qt::LeftButton);
    QCOMPARE(cell(v, "WHEELS", TFrameView::ValueColumn), QStringLiteral("4"));
  }

  void methodEditedAsADefun() {
    form->run_lisp("(PROGN (ADDFRAME 'CAR) (ADDSLOT CAR 'GO))\n");
    TFrameView* v = viewer("CAR");
    QVERIFY(v);
    v->SlotList->setCurrentItem(v->slotRow("GO"));
    QString shown;
    dialogs->answerModal([&](QDialog& d) {
      auto& editor = dynamic_cast<TForm2&>(d);
      shown = editor.text();
      editor.Memo1->setPlainText("(DEFUN CAR^GO (X)\n  (* X 2))");
      return int(QDialog::Accepted);
    });
    QTest::mouseClick(v->EditMethodButton, Qt::LeftButton);
    QCOMPARE(shown, QStringLiteral("(DEFUN CAR^GO ()\n  NIL)"));
    QCOMPARE(cell(v, "GO", TFrameView::MethodColumn), QStringLiteral("(X)"));
    form->takeOutput();
    form->run_lisp("(PRINT (CAR^GO 21))\n");
    QVERIFY(form->takeOutput().find("42") != std::string::npos);
  }

  void deleteSlotAsks() {
    form->runEach({"(ADDFRAME 'CAR)", "(SETQ CAR^COLOR 'RED)"});
    TFrameView* v = viewer("CAR");
    QVERIFY(v);
    v->SlotList->setCurrentItem(v->slotRow("IS"));
    QVERIFY(!v->DeleteSlotButton->isEnabled());  // a frame keeps its inheritance slot
    v->SlotList->setCurrentItem(v->slotRow("COLOR"));
    dialogs->answerWarning(Dialogs::Reply::Yes);
    QTest::mouseClick(v->DeleteSlotButton, Qt::LeftButton);
    QVERIFY(!v->slotRow("COLOR"));
  }

  void viewerTakesATypedName() {
    form->run_lisp("(ADDFRAME 'CAR)\n");
    TFrameView* v = viewer(QString());
    QVERIFY(v);
    QCOMPARE(v->SlotList->topLevelItemCount(), 0);
    QTest::keyClicks(v->FrameEdit, "CAR");
    QTest::keyClick(v->FrameEdit, Qt::Key_Return);
    QCOMPARE(v->frame(), std::string("CAR"));
    QVERIFY(v->slotRow("IS"));
  }

  void parenMatching_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("pos");
    QTest::addColumn<int>("match");
    QTest::newRow("simple") << "(a b)" << 0 << 4;
    QTest::newRow("backwards") << "(a b)" << 4 << 0;
    QTest::newRow("nested") << "(a (b) c)" << 3 << 5;
    QTest::newRow("string") << "(a \")\" b)" << 0 << 8;
    QTest::newRow("comment") << "(a ; )\n b)" << 0 << 9;
    QTest::newRow("character") << "(a #\\) b)" << 0 << 8;
    QTest::newRow("bars") << "(|a)| b)" << 0 << 7;
    QTest::newRow("unbalanced") << "((a)" << 0 << -1;
    QTest::newRow("not a paren") << "(a)" << 1 << -1;
    QTest::newRow("inside string") << "\"(\" ()" << 1 << -1;
    QTest::newRow("out of range") << "()" << 5 << -1;
  }

  void parenMatching() {
    QFETCH(QString, text);
    QFETCH(int, pos);
    QFETCH(int, match);
    QCOMPARE(velloq_browser::matchingParen(text, pos), match);
  }

  void editorHighlightsThePairAtTheCursor() {
    TForm2 editor("Edit", "Text:", "(DEFUN F (X)\n  (* X 2))");
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    QCOMPARE(editor.highlightedPair(), qMakePair(0, 22));  // the cursor stands at the end
    QTest::keyClick(editor.Memo1, Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(editor.Memo1, Qt::Key_Right);
    QCOMPARE(editor.highlightedPair(), qMakePair(0, 22));
    QTest::keyClick(editor.Memo1, Qt::Key_End);
    QCOMPARE(editor.highlightedPair(), qMakePair(9, 11));
    QTest::keyClick(editor.Memo1, Qt::Key_Backspace);
    QCOMPARE(editor.highlightedPair(), qMakePair(-1, -1));
  }

  void projectSavesLoadsAndStartsOver() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const std::string db = QFile::encodeName(dir.filePath("cars.dat")).toStdString();
    form->runEach({"(ADDFRAME 'CAR)", "(SETQ CAR^DATABASE \"" + db + "\")", "(ADDCHILD 'CAR)",
                  "(ADDFRAME 'LOOSE)"});
    windows->showProject(true);
    Tproj* p = windows->project();
    QCOMPARE(p->ProjectLabel->text(), QStringLiteral("UNNAMED.VQR"));
    QCOMPARE(p->ProjectTree->topLevelItemCount(), 1);
    QCOMPARE(childNames(p->ProjectTree->topLevelItem(0)), (QStringList{"CAR", "CAR1"}));

    const std::string listFile = velloq::current_list_file();
    const QString project = dir.filePath("cars.vqr");
    dialogs->answerSaveFile(project);
    QTest::mouseClick(p->SaveButton, Qt::LeftButton);
    QCOMPARE(dialogs->calls().back().filters.size(), 2);
    QVERIFY2(dialogs->calls().back().filters.endsWith("All files (*)"), "files without extension are shown");
    QFile saved(project);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), QByteArray::fromStdString(db + "\n"));
    QCOMPARE(p->ProjectLabel->text(), QStringLiteral("cars.vqr"));
    QCOMPARE(velloq::current_list_file(), listFile);

    form->run_lisp("(PROGN (DELFRAME 'CAR1) (DELFRAME 'CAR))\n");
    QCOMPARE(p->ProjectTree->topLevelItemCount(), 0);
    dialogs->answerOpenFile(project);
    QTest::mouseClick(p->OpenButton, Qt::LeftButton);
    QVERIFY(velloq::frame_exists("CAR") && velloq::frame_exists("CAR1"));
    QCOMPARE(childNames(p->ProjectTree->topLevelItem(0)), (QStringList{"CAR", "CAR1"}));

    windows->newProject();
    QCOMPARE(form->texts().back(), std::string("(RESTORE)\n"));
    QCOMPARE(p->ProjectLabel->text(), QStringLiteral("UNNAMED.VQR"));
    QVERIFY(p->projectFile().isEmpty());
  }

  void visibilityIsReported() {
    QSignalSpy hierarchy(windows.get(), &BrowserWindows::hierarchyVisibilityChanged);
    QVERIFY(!windows->hierarchyVisible());
    windows->showHierarchy(true);
    QVERIFY(windows->hierarchyVisible());
    windows->hierarchy()->close();
    QVERIFY(!windows->hierarchyVisible());
    QCOMPARE(hierarchy.size(), 2);
    QCOMPARE(hierarchy.at(0).at(0).toBool(), true);
    QCOMPARE(hierarchy.at(1).at(0).toBool(), false);
    windows->showProject(true);
    QVERIFY(windows->projectVisible());
    windows->showProject(false);
    QVERIFY(!windows->projectVisible());
  }
};

QTEST_MAIN(BrowserWindowsTest)
#include "browser_windows_test.moc"
