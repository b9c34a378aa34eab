// The editor window, its pages "Проект", "Слоты" and "Диалог": typed slot
// names, which field changes mark the knowledge base modified, refresh, and
// the buttons that run the main window's commands.
#include "editor_fixture.h"
#include "norvix_windows.h"

#include <QTemporaryDir>
#include <QtTest>
#include <functional>

namespace {

// A base with the slot «Цвет» (default «зеленый») and the sample «Яблоко»
// under «Фрукт», shown by the editor and not modified.
void fruitBase(EditorSet& s) {
  norvix::AKBase& kb = s.kb();
  norvix::ASlotDef* color = kb.AddSlotDef(w("Цвет"));
  color->DefaultValue = w("зеленый");
  kb.AddFrame(w("Фрукт"), nullptr);
  kb.AttachSlot(w("Фрукт"), w("Цвет"));
  kb.AddFrame(w("Яблоко"), kb.FindFrame(w("Фрукт")))->SetSample(true);
  kb.TargetFrame = w("Фрукт");
  s.editor->RefreshEditor();
}

}  // namespace

class EditorSlotsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { qApp->setQuitOnLastWindowClosed(false); }

  void windowAndPages() {
    EditorSet s;
    QCOMPARE(s.editor->windowTitle(), u("Редактирование базы знаний"));
    QStringList tabs;
    for (int i = 0; i < s.editor->Pages->count(); ++i) tabs << s.editor->Pages->tabText(i);
    QCOMPARE(tabs, QStringList({u("Проект"), u("Слоты"), u("Прототипы"), u("Экземпляры"),
                                u("Диалог")}));
    QCOMPARE(s.editor->Okbutt->text(), u("&Ok"));
    QCOMPARE(s.editor->BitBtn1->text(), u("&Очистить"));
    QCOMPARE(s.editor->BitBtn2->text(), u("&Загрузить"));
    QCOMPARE(s.editor->BitBtn3->text(), u("&Сохранить"));
    QVERIFY(s.editor->CheckBox1->isChecked());
  }

  // Edit opens the editor modally through the dialogs, on page "Проект"
  // whichever page was left open.
  void editButtonShowsProjectPage() {
    EditorSet s;
    s.editor->hide();
    for (int shown = 0; shown < 2; ++shown) {
      s.editor->Pages->setCurrentIndex(3);
      int pageSeen = -1;
      s.dialogs.answerModal([&pageSeen](QDialog& d) {
        pageSeen = static_cast<TEditForm&>(d).Pages->currentIndex();
        return int(QDialog::Accepted);
      });
      QTest::mouseClick(s.form->EditKB, Qt::LeftButton);
      QCOMPARE(pageSeen, 0);
    }
    QCOMPARE(s.dialogs.calls().size(), size_t(2));
    QCOMPARE(s.dialogs.calls()[0].caption, u("Редактирование базы знаний"));
    QVERIFY(s.dialogs.mismatches().isEmpty());
  }

  void emptyRefreshShowsFixedTextsAndHidesPanels() {
    EditorSet s;
    QCOMPARE(s.editor->DefValue->text(), u("(нет)"));
    QCOMPARE(s.editor->Invitation->text(), u("Диалог:"));
    QCOMPARE(s.editor->dSuccessMsg->text(), u("Найдено решение:"));
    QCOMPARE(s.editor->dFailMsg->text(), u("Решений не найдено."));
    QVERIFY(s.editor->SlotBox->isHidden());
    QVERIFY(s.editor->box1->isHidden());
    QVERIFY(s.editor->GroupBox1->isHidden());
    QVERIFY(!s.editor->AddSlot->isEnabled());
    QVERIFY(!s.editor->DelSlot->isEnabled());
    QVERIFY(!s.kb().Modified);
  }

  void typedSlotNames() {
    EditorSet s;
    typeInto(*s.editor, s.editor->SlotName, u("  цвет"));
    QVERIFY(s.editor->AddSlot->isEnabled());
    QVERIFY(s.editor->SlotBox->isHidden());
    click(*s.editor, s.editor->AddSlot);
    QVERIFY(s.kb().FindSlotDef(w(" цвет")));
    QCOMPARE(entries(s.editor->SlotList), QStringList({u(" цвет")}));
    QCOMPARE(entries(s.editor->ComboBox1), QStringList({u(" цвет")}));
    QCOMPARE(s.editor->SlotName->text(), u(" цвет"));
    QCOMPARE(s.editor->CurrentSlotDef(), u(" цвет"));
    QVERIFY(!s.editor->SlotBox->isHidden());
    QVERIFY(!s.editor->AddSlot->isEnabled());
    QVERIFY(s.editor->DelSlot->isEnabled());

    // Another letter case finds the listed slot; the panel names it as stored.
    typeInto(*s.editor, s.editor->SlotName, u(" ЦВЕТ"));
    QCOMPARE(s.editor->SlotList->currentRow(), 0);
    QCOMPARE(s.editor->CurrentSlotDef(), u(" цвет"));
    QVERIFY(!s.editor->AddSlot->isEnabled());

    // Doubled blanks: the field takes the listed name.
    typeInto(*s.editor, s.editor->SlotName, u("a b"));
    click(*s.editor, s.editor->AddSlot);
    typeInto(*s.editor, s.editor->SlotName, u("a  b"));
    QCOMPARE(s.editor->SlotName->text(), u("a b"));
    QCOMPARE(s.editor->CurrentSlotDef(), u("a b"));
    QVERIFY(!s.editor->AddSlot->isEnabled());
    QCOMPARE(entries(s.editor->SlotList), QStringList({u(" цвет"), u("a b")}));

    // A name of blanks only adds nothing; an unknown one hides the panel.
    typeInto(*s.editor, s.editor->SlotName, u("   "));
    QVERIFY(!s.editor->AddSlot->isEnabled());
    typeInto(*s.editor, s.editor->SlotName, u("вес"));
    QVERIFY(s.editor->AddSlot->isEnabled());
    QVERIFY(s.editor->SlotBox->isHidden());
    QCOMPARE(s.editor->CurrentSlotDef(), QString());
    QCOMPARE(s.kb().SlotDefs().size(), size_t(2));
  }

  void slotListKeepsLetterCaseOrder() {
    EditorSet s;
    for (const char* name : {"ягода", "Арбуз", "банан", "Вишня"}) {
      typeInto(*s.editor, s.editor->SlotName, u(name));
      click(*s.editor, s.editor->AddSlot);
    }
    const QStringList sortedNames{u("Арбуз"), u("банан"), u("Вишня"), u("ягода")};
    QCOMPARE(entries(s.editor->SlotList), sortedNames);
    QCOMPARE(entries(s.editor->ComboBox1), sortedNames);
  }

  void clickingASlotShowsIt() {
    EditorSet s;
    fruitBase(s);
    showPageOf(*s.editor, s.editor->SlotList);
    QTest::mouseClick(s.editor->SlotList->viewport(), Qt::LeftButton, {},
                      s.editor->SlotList->visualItemRect(s.editor->SlotList->item(0)).center());
    QCOMPARE(s.editor->SlotName->text(), u("Цвет"));
    QCOMPARE(s.editor->CurrentSlotDef(), u("Цвет"));
    QCOMPARE(s.editor->DefValue->text(), u("зеленый"));
    QVERIFY(!s.kb().Modified);
  }

  void modifiedFlag_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("sets");
    QTest::newRow("ProjectName") << u("ProjectName") << true;
    QTest::newRow("Purpose") << u("Purpose") << true;
    QTest::newRow("Subject") << u("Subject") << true;
    QTest::newRow("Author") << u("Author") << true;
    QTest::newRow("SlotDef") << u("SlotDef") << false;
    QTest::newRow("DefValue") << u("DefValue") << true;
    QTest::newRow("ListVal") << u("ListVal") << true;
    QTest::newRow("SlotDecompose") << u("SlotDecompose") << false;
    QTest::newRow("TextDec") << u("TextDec") << false;
    QTest::newRow("Target") << u("Target") << true;
    QTest::newRow("Invitation") << u("Invitation") << true;
    QTest::newRow("dSuccessMsg") << u("dSuccessMsg") << true;
    QTest::newRow("dFailMsg") << u("dFailMsg") << true;
    QTest::newRow("CheckBox1") << u("CheckBox1") << true;
  }

  // Each change is made as the user makes it, on a slot shown in the panel.
  void modifiedFlag() {
    QFETCH(QString, control);
    QFETCH(bool, sets);
    EditorSet s;
    fruitBase(s);
    typeInto(*s.editor, s.editor->SlotName, u("Цвет"));
    if (control == QLatin1String("TextDec")) {
      click(*s.editor, s.editor->SlotDecompose);
      s.kb().Modified = false;
    }
    QVERIFY(!s.kb().Modified);
    QWidget* widget = s.editor->findChild<QWidget*>(control);
    QVERIFY(widget);
    if (auto* box = qobject_cast<QCheckBox*>(widget))
      click(*s.editor, box);
    else if (auto* combo = qobject_cast<QComboBox*>(widget))
      typeInto(*s.editor, combo, u("Ягода"));
    else
      typeInto(*s.editor, widget, u("новый текст"));
    QCOMPARE(s.kb().Modified, sets);
  }

  void fieldsWriteIntoTheBase() {
    EditorSet s;
    fruitBase(s);
    typeInto(*s.editor, s.editor->ProjectName, u("Сад"));
    typeInto(*s.editor, s.editor->Purpose, u("строка 1\nстрока 2"));
    typeInto(*s.editor, s.editor->Author, u("Я"));
    QCOMPARE(s.kb().ProjectName, w("Сад"));
    QCOMPARE(s.kb().Purpose, w("строка 1\r\nстрока 2"));
    QCOMPARE(s.kb().Author, w("Я"));
    QCOMPARE(s.form->windowTitle(), u("KV7 Quillon v2.0 - Сад"));
    typeInto(*s.editor, s.editor->ProjectName, QString());
    QCOMPARE(s.form->windowTitle(), u("KV7 Quillon v2.0"));

    typeInto(*s.editor, s.editor->SlotName, u("Цвет"));
    typeInto(*s.editor, s.editor->SlotDef, u("цвет кожуры"));
    QCOMPARE(s.kb().FindSlotDef(w("Цвет"))->Definition, norvix::Lines({w("цвет кожуры")}));
    typeInto(*s.editor, s.editor->DefValue, u("(нет)"));
    QCOMPARE(s.kb().FindSlotDef(w("Цвет"))->DefaultValue, std::string());
    typeInto(*s.editor, s.editor->DefValue, u("красный"));
    QCOMPARE(s.kb().FindSlotDef(w("Цвет"))->DefaultValue, w("красный"));

    typeInto(*s.editor, s.editor->Invitation, u("Начнем:"));
    QCOMPARE(s.kb().Invitation, w("Начнем:"));
    click(*s.editor, s.editor->CheckBox1);
    QVERIFY(!s.kb().AutoReport);
  }

  // A character Windows-1251 cannot hold is stored as "?", and the field
  // shows what was stored.
  void unrepresentableCharacterShowsAsStored() {
    EditorSet s;
    typeInto(*s.editor, s.editor->Author, u("A€B"));
    QCOMPARE(s.kb().Author, std::string("A\x88" "B"));  // the euro sign is in Windows-1251
    typeInto(*s.editor, s.editor->Author, u("A✓B"));
    QCOMPARE(s.kb().Author, std::string("A?B"));
    QCOMPARE(s.editor->Author->text(), u("A?B"));
  }

  void decompositionMessageStartsEmpty() {
    EditorSet s;
    fruitBase(s);
    typeInto(*s.editor, s.editor->SlotName, u("Цвет"));
    QVERIFY(s.editor->TextDec->isHidden());
    click(*s.editor, s.editor->SlotDecompose);
    QVERIFY(!s.editor->TextDec->isHidden());
    typeInto(*s.editor, s.editor->TextDec, u("Разбор %f"));
    norvix::ASlotDef* color = s.kb().FindSlotDef(w("Цвет"));
    QVERIFY(color->Decompose);
    QCOMPARE(color->DecomposeMsg, w("Разбор %f"));
    click(*s.editor, s.editor->SlotDecompose);
    QVERIFY(!color->Decompose);
    QCOMPARE(color->DecomposeMsg, std::string());
    QVERIFY(s.editor->TextDec->isHidden());
    click(*s.editor, s.editor->SlotDecompose);
    QCOMPARE(s.editor->TextDec->text(), QString());
    QCOMPARE(color->DecomposeMsg, std::string());
  }

  void deletingASlotAsksAndRemovesItEverywhere() {
    EditorSet s;
    fruitBase(s);
    typeInto(*s.editor, s.editor->SlotName, u("Цвет"));
    s.dialogs.answerWarning(Dialogs::Reply::No);
    click(*s.editor, s.editor->DelSlot);
    QVERIFY(s.kb().FindSlotDef(w("Цвет")));
    s.dialogs.answerWarning(Dialogs::Reply::Yes);
    click(*s.editor, s.editor->DelSlot);
    QCOMPARE(askedTexts(s.dialogs),
             QStringList({u("Вы действительно хотите удалить слот \"Цвет\" ?"),
                          u("Вы действительно хотите удалить слот \"Цвет\" ?")}));
    QVERIFY(!s.kb().FindSlotDef(w("Цвет")));
    QVERIFY(s.kb().FindFrame(w("Яблоко"))->Slots.empty());
    QVERIFY(entries(s.editor->SlotList).isEmpty());
    QVERIFY(entries(s.editor->ComboBox1).isEmpty());
    QCOMPARE(s.editor->SlotName->text(), QString());
    QVERIFY(s.editor->SlotBox->isHidden());
    QVERIFY(!s.editor->DelSlot->isEnabled());
    QVERIFY(s.dialogs.mismatches().isEmpty());
  }

  void deletingWithoutSelectionIsRefused() {
    EditorSet s;
    fruitBase(s);
    s.dialogs.answerWarning(Dialogs::Reply::Yes);
    s.editor->DelSlotClick();
    QCOMPARE(errorTexts(s.dialogs), QStringList({u("Невозможно удалить слот!")}));
    QVERIFY(s.kb().FindSlotDef(w("Цвет")));
  }

  void valueListFlagReordersTheShownSample() {
    EditorSet s;
    fruitBase(s);
    s.kb().AddSlotDef(w("Вкус"));
    s.kb().AttachSlot(w("Фрукт"), w("Вкус"));
    s.editor->RefreshEditor();
    choose(*s.editor, s.editor->SampCombo, u("Яблоко"));
    QCOMPARE(rows(*s.editor), QStringList({u("Цвет=зеленый"), u("Вкус=(нет)")}));
    typeInto(*s.editor, s.editor->SlotName, u("Цвет"));
    click(*s.editor, s.editor->ListVal);
    QVERIFY(s.kb().FindSlotDef(w("Цвет"))->IsValueList);
    QCOMPARE(rows(*s.editor), QStringList({u("Вкус=(нет)"), u("Цвет=зеленый")}));
  }

  // Filling the controls from a loaded base changes neither the base nor
  // its flag, and shows the file's texts as they are.
  void refreshShowsTheBaseUnchanged() {
    EditorSet s;
    norvix::AKBase& kb = s.kb();
    kb.ProjectName = w("Сад");
    kb.Purpose = w("а\r\nб");
    kb.Invitation = w("Привет:");
    kb.SuccessMsg = w("Есть!");
    kb.FailMsg = w("Нет.");
    kb.AutoReport = false;
    kb.TargetFrame = w("Нечто");
    kb.AddSlotDef(w("Цвет"))->DefaultValue = w("синий");
    const std::string before = kb.SaveToBytes();
    s.editor->RefreshEditor();
    QCOMPARE(kb.SaveToBytes(), before);
    QVERIFY(!kb.Modified);
    QCOMPARE(s.editor->ProjectName->text(), u("Сад"));
    QCOMPARE(s.editor->Purpose->toPlainText(), u("а\nб"));
    QCOMPARE(s.editor->Invitation->text(), u("Привет:"));
    QCOMPARE(s.editor->dSuccessMsg->text(), u("Есть!"));
    QCOMPARE(s.editor->dFailMsg->text(), u("Нет."));
    QVERIFY(!s.editor->CheckBox1->isChecked());
    QCOMPARE(s.editor->Target->currentText(), u("Нечто"));
    QVERIFY(s.form->QueryKB->isEnabled());
    QCOMPARE(s.form->windowTitle(), u("KV7 Quillon v2.0 - Сад"));
  }

  // The three buttons run the main window's own commands.
  void buttonsRunTheMainWindowCommands() {
    EditorSet s;
    fruitBase(s);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("fruit.dat"));
    typeInto(*s.editor, s.editor->ProjectName, u("Сад"));
    s.dialogs.answerSaveFile(file);
    click(*s.editor, s.editor->BitBtn3);
    QCOMPARE(s.dialogs.calls().back().text, u("Сад"));  // the proposed name
    QVERIFY(!s.kb().Modified);

    click(*s.editor, s.editor->BitBtn1);
    QVERIFY(s.kb().Frames().empty());
    QVERIFY(entries(s.editor->SlotList).isEmpty());
    QCOMPARE(s.editor->ProjectName->text(), QString());
    QVERIFY(s.form->Memo1->toPlainText().contains(u("[Новая база знаний]")));

    s.dialogs.answerOpenFile(file);
    click(*s.editor, s.editor->BitBtn2);
    QCOMPARE(s.editor->ProjectName->text(), u("Сад"));
    QCOMPARE(entries(s.editor->SlotList), QStringList({u("Цвет")}));
    QCOMPARE(entries(s.editor->SampCombo), QStringList({u("Яблоко")}));
    QCOMPARE(treeLines(s.editor->ProtoList), QStringList({u("Фрукт"), u("  Яблоко")}));
    QVERIFY(!s.kb().Modified);
    QVERIFY(s.dialogs.mismatches().isEmpty());

    click(*s.editor, s.editor->Okbutt);
    QVERIFY(!s.editor->isVisible());
    QCOMPARE(s.editor->result(), int(QDialog::Accepted));
  }

  // The program makes the editor between its two windows; the first load
  // fills it, and Edit opens it.
  void programStartMakesTheEditor() {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("garden.dat"));
    {
      norvix::AKBase kb;
      kb.ProjectName = w("Сад");
      kb.AddSlotDef(w("Цвет"));
      QVERIFY(kb.SaveToFile(QFile::encodeName(file).toStdString()));
    }
    ScriptedDialogs dialogs;
    auto windows = StartWindows(dialogs, nullptr, QFile::encodeName(file).toStdString(),
                                [](TForm1& main, Dialogs& d) -> std::unique_ptr<QDialog> {
                                  return std::make_unique<TEditForm>(main, d);
                                });
    auto* editor = qobject_cast<TEditForm*>(windows->EditForm.get());
    QVERIFY(editor);
    QCOMPARE(editor->ProjectName->text(), u("Сад"));
    QCOMPARE(entries(editor->SlotList), QStringList({u("Цвет")}));
    dialogs.answerModal([](QDialog&) { return int(QDialog::Accepted); });
    QTest::mouseClick(windows->Form1->EditKB, Qt::LeftButton);
    QCOMPARE(dialogs.calls().size(), size_t(1));
    QCOMPARE(dialogs.calls()[0].kind, ScriptedDialogs::Kind::Modal);
    QVERIFY(dialogs.mismatches().isEmpty());
  }

  void targetBoxDrivesQueryButton() {
    EditorSet s;
    QVERIFY(!s.form->QueryKB->isEnabled());
    typeInto(*s.editor, s.editor->Target, u("Фрукт"));
    QCOMPARE(s.kb().TargetFrame, w("Фрукт"));
    QVERIFY(s.form->QueryKB->isEnabled());
    typeInto(*s.editor, s.editor->Target, QString());
    QVERIFY(!s.form->QueryKB->isEnabled());
  }
};

QTEST_MAIN(EditorSlotsTest)
#include "editor_slots_test.moc"
