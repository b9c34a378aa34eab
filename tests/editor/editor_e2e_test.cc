// A knowledge base built from nothing through the editor alone (slots,
// prototypes, samples with values, a decomposed slot, the dialog texts),
// saved, cleared, loaded and consulted through the main window.
#include "editor_fixture.h"
#include "results_window.h"
#include "window_driver.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

namespace {

void addSlot(EditorSet& s, const char* name) {
  typeInto(*s.editor, s.editor->SlotName, u(name));
  click(*s.editor, s.editor->AddSlot);
}

void addProto(EditorSet& s, const char* name) {
  click(*s.editor, s.editor->AddProto);
  typeLabel(*s.editor, u(name));
}

void addChild(EditorSet& s, const char* parent, const char* name) {
  clickNode(*s.editor, u(parent));
  click(*s.editor, s.editor->AddChild);
  typeLabel(*s.editor, u(name));
}

void attach(EditorSet& s, const char* frame, const char* slot) {
  clickNode(*s.editor, u(frame));
  choose(*s.editor, s.editor->ComboBox1, u(slot));
  click(*s.editor, s.editor->ProtoAddSlot);
}

void makeSample(EditorSet& s, const char* frame) {
  clickNode(*s.editor, u(frame));
  click(*s.editor, s.editor->CheckSamp);
}

void setValue(EditorSet& s, const char* sample, const char* slot, const char* value) {
  choose(*s.editor, s.editor->SampCombo, u(sample));
  clickRow(*s.editor, u(slot));
  typeInto(*s.editor, s.editor->Edit1, u(value));
  s.editor->SampCombo->setFocus();  // leaving the field ends the value
}

// Each page of the editor as a PNG file in the build folder
// (build/.../screenshots/), for people to look at.
void saveScreenshots(EditorSet& s) {
  clickNode(*s.editor, u("Офисный"));
  const QString folder = QStringLiteral(SUITE_BINARY_DIR "/screenshots");
  QVERIFY(QDir().mkpath(folder));
  for (int page = 0; page < s.editor->Pages->count(); ++page) {
    s.editor->Pages->setCurrentIndex(page);
    QCoreApplication::processEvents();
    const QImage shot = s.editor->grab().toImage();
    QVERIFY(shot.save(folder + QStringLiteral("/norvix_editor_%1.png").arg(page + 1)));
  }
}

}  // namespace

class EditorEndToEndTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { qApp->setQuitOnLastWindowClosed(false); }

  void buildSaveReloadConsult() {
    EditorSet s;
    TForm2 results(s.form.get());
    s.form->setResultsWindow(&results);

    typeInto(*s.editor, s.editor->ProjectName, u("ПК"));
    for (const char* name : {"Тип", "Блок", "Частота"}) addSlot(s, name);
    typeInto(*s.editor, s.editor->SlotName, u("Блок"));
    click(*s.editor, s.editor->SlotDecompose);
    typeInto(*s.editor, s.editor->TextDec, u("Разбираем %f"));

    addProto(s, "Компьютер");
    attach(s, "Компьютер", "Тип");
    attach(s, "Компьютер", "Блок");
    addChild(s, "Компьютер", "Офисный");
    makeSample(s, "Офисный");
    addProto(s, "Процессор");
    attach(s, "Процессор", "Частота");
    addChild(s, "Процессор", "P1");
    makeSample(s, "P1");

    setValue(s, "Офисный", "Тип", "настольный");
    setValue(s, "Офисный", "Блок", "Процессор");
    typeInto(*s.editor, s.editor->OfferMsg, u("Рассмотрим %f"));
    setValue(s, "P1", "Частота", "2000");

    typeInto(*s.editor, s.editor->Target, u("Компьютер"));
    typeInto(*s.editor, s.editor->Invitation, u("Начнем:"));
    typeInto(*s.editor, s.editor->dSuccessMsg, u("Готово:"));
    QVERIFY(s.dialogs.calls().empty());

    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("pc.dat"));
    s.dialogs.answerSaveFile(file);
    click(*s.editor, s.editor->BitBtn3);
    click(*s.editor, s.editor->BitBtn1);
    QVERIFY(s.kb().Frames().empty());
    QVERIFY(!s.form->QueryKB->isEnabled());
    s.dialogs.answerOpenFile(file);
    click(*s.editor, s.editor->BitBtn2);
    QVERIFY(s.dialogs.mismatches().isEmpty());

    // What the editor shows of the reloaded base.
    QCOMPARE(treeLines(s.editor->ProtoList),
             QStringList({u("Компьютер"), u("  Офисный"), u("Процессор"), u("  P1")}));
    QCOMPARE(s.editor->Target->currentText(), u("Компьютер"));
    QCOMPARE(entries(s.editor->SampCombo), QStringList({u("P1"), u("Офисный")}));
    QCOMPARE(s.editor->Invitation->text(), u("Начнем:"));
    QCOMPARE(s.form->windowTitle(), u("KV7 Quillon v2.0 - ПК"));
    choose(*s.editor, s.editor->SampCombo, u("Офисный"));
    QCOMPARE(rows(*s.editor), QStringList({u("Тип=настольный"), u("Блок=Процессор")}));
    QCOMPARE(s.editor->OfferMsg->text(), u("Рассмотрим %f"));
    saveScreenshots(s);
    click(*s.editor, s.editor->Okbutt);

    AnswerDriver driver(*s.form, {"yes", "yes", "yes"});
    QVERIFY(s.form->QueryKB->isEnabled());
    QTest::mouseClick(s.form->QueryKB, Qt::LeftButton);
    QCOMPARE(driver.questions(), 3);
    QCOMPARE(treeOutline(*results.Synt),
             QStringList({u("Офисный:"), u("  Тип настольный"), u("  Блок P1:"),
                          u("    Частота 2000")}));
    // Save, clear and load lines, then the dialog with the texts typed in
    // the editor, the decomposition message, and the report.
    QCOMPARE(memoLines(*s.form).mid(6),
             QStringList({u("Начнем:"), u("Рассмотрим Офисный"), u("Тип настольный (Д/Н)? [Д]"),
                          u("Блок Процессор (Д/Н)? [Д]"), u("Разбираем Офисный"),
                          u("Частота 2000 (Д/Н)? [Д]"), u("Готово:"), QString(), u("   "),
                          u("Реультаты отчета:"), u("Офисный:"), u("[]"), u("Тип настольный"),
                          u("Блок P1:"), u(" P1:"), u("[]"), u(" Частота 2000"), u("    ")}));
    QCOMPARE(memoLines(*s.form).mid(0, 6),
             QStringList({u("[Сохранение \"") + file + u("\"]"), u("   "), u("[Новая база знаний]"),
                          u("   "), u("[Загрузка \"") + file + u("\"]"), u("   ")}));
    s.form->setResultsWindow(nullptr);
  }
};

QTEST_MAIN(EditorEndToEndTest)
#include "editor_e2e_test.moc"
