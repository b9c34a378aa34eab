// Renders the hierarchy window and a frame viewer over a small frame
// hierarchy to PNG files in the build folder (screenshots/), for people to
// look at.
#include <QDir>
#include <QtTest>
#include <memory>

#include "browser_windows.h"
#include "fake_main_form.h"
#include "frame_view.h"
#include "hierarchy_window.h"
#include "scripted_dialogs.h"

class ScreenshotTest : public QObject {
  Q_OBJECT

  static bool save(QWidget* w, const char* file) {
    const QImage shot = w->grab().toImage();
    const QString folder = QStringLiteral(SUITE_BINARY_DIR "/screenshots");
    return !shot.isNull() && QDir().mkpath(folder) &&
           shot.save(folder + QLatin1Char('/') + QLatin1String(file));
  }

 private slots:
  void hierarchyAndFrameViewer() {
    FakeMainForm form;
    ScriptedDialogs dialogs;
    velloq_browser::BrowserWindows windows(form, nullptr, dialogs);
    QVERIFY(windows.connectTo(&form));
    form.runEach({"(ADDFRAME 'VEHICLE)", "(SETQ VEHICLE^WHEELS 4)", "(SETQ VEHICLE^COLOR 'RED)",
                  "(SETQ VEHICLE^NOTE \"moves\")", "(ADDFRAME 'CAR)", "(SETPARENTS CAR VEHICLE)",
                  "(ADDFRAME 'TRUCK)", "(SETPARENTS TRUCK VEHICLE)", "(SETQ TRUCK^WHEELS 6)",
                  "(ADDFRAME 'SEDAN)", "(SETPARENTS SEDAN CAR)", "(SETQ SEDAN^DOORS 4)",
                  "(SETQ SEDAN^PARTS '(ENGINE (WHEEL . 4)))"});
    form.run_lisp("(DEFUN VEHICLE^DRIVE (DISTANCE SPEED) (/ DISTANCE SPEED))\n");
    windows.showHierarchy(true);
    THierarchy* h = windows.hierarchy();
    for (const char* name : {"FRAME", "VEHICLE", "CAR"}) {
      QTreeWidgetItem* item = h->itemsNamed(name).value(0);
      QVERIFY(item);
      item->setExpanded(true);
    }
    h->Tree->setCurrentItem(h->itemsNamed("SEDAN").value(0));
    QVERIFY(QTest::qWaitForWindowExposed(h));
    QVERIFY(save(h, "velloq_hierarchy.png"));

    TFrameView* v = windows.openViewer("SEDAN");
    QVERIFY(QTest::qWaitForWindowExposed(v));
    v->SlotList->setCurrentItem(v->slotRow("DOORS"));
    QVERIFY(save(v, "velloq_frame_viewer.png"));
  }
};

QTEST_MAIN(ScreenshotTest)
#include "screenshot_test.moc"
