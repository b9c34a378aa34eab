// Pages "Прототипы" and "Экземпляры": building the frame tree, samples,
// slots attached to frames, deleting and renaming frames, and the value
// editor.
#include "editor_fixture.h"
#include "editor_icons.h"

#include <QtTest>

namespace {

// Slots «Цвет» (default «зеленый»), «Вес» and «Сорт»; «Растение» with
// «Фрукт» below it, «Яблоко» and «Груша» samples of «Фрукт»; «Цвет» on
// «Растение», «Вес» on «Фрукт».
void gardenBase(EditorSet& s) {
  norvix::AKBase& kb = s.kb();
  kb.AddSlotDef(w("Цвет"))->DefaultValue = w("зеленый");
  kb.AddSlotDef(w("Вес"));
  kb.AddSlotDef(w("Сорт"));
  norvix::AFrame* plant = kb.AddFrame(w("Растение"), nullptr);
  norvix::AFrame* fruit = kb.AddFrame(w("Фрукт"), plant);
  kb.AttachSlot(w("Растение"), w("Цвет"));
  kb.AttachSlot(w("Фрукт"), w("Вес"));
  kb.AddFrame(w("Яблоко"), fruit)->SetSample(true);
  kb.AddFrame(w("Груша"), fruit)->SetSample(true);
  kb.TargetFrame = w("Растение");
  s.editor->RefreshEditor();
}

}  // namespace

class EditorProtoTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { qApp->setQuitOnLastWindowClosed(false); }

  void refreshFillsTreeAndLists() {
    EditorSet s;
    gardenBase(s);
    QCOMPARE(treeLines(s.editor->ProtoList),
             QStringList({u("Растение"), u("  Фрукт"), u("    Яблоко"), u("    Груша")}));
    QCOMPARE(entries(s.editor->Target), QStringList({u("Растение"), u("Фрукт")}));
    QCOMPARE(entries(s.editor->SampCombo), QStringList({u("Груша"), u("Яблоко")}));
    QCOMPARE(s.editor->SampCombo->currentIndex(), -1);
    QCOMPARE(entries(s.editor->ComboBox1), QStringList({u("Вес"), u("Сорт"), u("Цвет")}));
    QCOMPARE(s.editor->ComboBox1->currentIndex(), 0);
    QCOMPARE(s.editor->Target->currentText(), u("Растение"));
    QVERIFY(!s.kb().Modified);
  }

  void threePressesOfAddProto() {
    EditorSet s;
    for (int i = 0; i < 3; ++i) click(*s.editor, s.editor->AddProto);
    QCOMPARE(treeLines(s.editor->ProtoList), QStringList({u("Фрейм"), u("Фрейм1"), u("Фрейм2")}));
    QCOMPARE(entries(s.editor->Target), QStringList({u("Фрейм"), u("Фрейм1"), u("Фрейм2")}));
    QCOMPARE(s.kb().Frames().size(), size_t(3));
    QVERIFY(s.kb().Modified);
    // The new node is selected with its label open for the name.
    QCOMPARE(s.editor->ProtoList->currentItem()->text(0), u("Фрейм2"));
    typeLabel(*s.editor, u("Машина"));
    QVERIFY(s.kb().FindFrame(w("Машина")));
    QCOMPARE(entries(s.editor->Target), QStringList({u("Машина"), u("Фрейм"), u("Фрейм1")}));
    QVERIFY(s.dialogs.calls().empty());
  }

  void addChildNamesAfterTheParent() {
    EditorSet s;
    click(*s.editor, s.editor->AddProto);
    typeLabel(*s.editor, u("Машина"));
    click(*s.editor, s.editor->AddChild);
    clickNode(*s.editor, u("Машина"));
    click(*s.editor, s.editor->AddChild);
    QCOMPARE(treeLines(s.editor->ProtoList),
             QStringList({u("Машина"), u("  Машина1"), u("  Машина2")}));
    QCOMPARE(s.kb().FindFrame(w("Машина2"))->Parent, s.kb().FindFrame(w("Машина")));
    QCOMPARE(entries(s.editor->Target), QStringList({u("Машина"), u("Машина1"), u("Машина2")}));
  }

  void sampleCheckBox() {
    EditorSet s;
    gardenBase(s);
    clickNode(*s.editor, u("Фрукт"));
    QVERIFY(!s.editor->CheckSamp->isEnabled());  // it has children
    click(*s.editor, s.editor->AddChild);
    typeLabel(*s.editor, u("Слива"));
    clickNode(*s.editor, u("Слива"));
    QVERIFY(s.editor->CheckSamp->isEnabled());
    s.kb().Modified = false;

    click(*s.editor, s.editor->CheckSamp);
    norvix::AFrame* plum = s.kb().FindFrame(w("Слива"));
    QVERIFY(plum->IsSample);
    QVERIFY(!s.kb().Modified);
    QVERIFY(!s.editor->AddChild->isEnabled());
    QVERIFY(!entries(s.editor->Target).contains(u("Слива")));
    QCOMPARE(entries(s.editor->SampCombo), QStringList({u("Груша"), u("Слива"), u("Яблоко")}));
    QCOMPARE(s.editor->SampCombo->currentText(), u("Слива"));
    QCOMPARE(s.editor->CurrentSample(), u("Слива"));
    QCOMPARE(s.editor->ClassName->text(), u("Фрукт"));
    QVERIFY(!s.editor->GroupBox1->isHidden());
    // Own definitions first, then the parent's: «Вес» of «Фрукт», «Цвет» of «Растение».
    QCOMPARE(rows(*s.editor), QStringList({u("Вес=(нет)"), u("Цвет=зеленый")}));
    QCOMPARE(icons::ImageOf(s.editor->FindTreeNode(u("Слива"))), 1);

    typeInto(*s.editor, s.editor->OfferMsg, u("Может быть, %f?"));
    QCOMPARE(plum->OfferMsg, w("Может быть, %f?"));
    QVERIFY(!s.kb().Modified);

    clickNode(*s.editor, u("Слива"));
    click(*s.editor, s.editor->CheckSamp);
    QVERIFY(!plum->IsSample);
    QVERIFY(plum->Slots.empty());
    QCOMPARE(plum->OfferMsg, std::string());
    QVERIFY(entries(s.editor->Target).contains(u("Слива")));
    QCOMPARE(entries(s.editor->SampCombo), QStringList({u("Груша"), u("Яблоко")}));
    QVERIFY(s.editor->GroupBox1->isHidden());
    QVERIFY(s.editor->AddChild->isEnabled());
    QCOMPARE(icons::ImageOf(s.editor->FindTreeNode(u("Слива"))), 0);
  }

  // Should the box be checked on a frame with children all the same, the
  // change is refused and shown, and nothing else moves.
  void sampleWithChildrenIsRefused() {
    EditorSet s;
    gardenBase(s);
    clickNode(*s.editor, u("Фрукт"));
    s.editor->CheckSamp->setEnabled(true);
    click(*s.editor, s.editor->CheckSamp);
    QCOMPARE(errorTexts(s.dialogs),
             QStringList({u("Фрейм с потомками не может стать экземпляром!")}));
    QVERIFY(!s.editor->CheckSamp->isChecked());
    QVERIFY(!s.kb().FindFrame(w("Фрукт"))->IsSample);
    QVERIFY(entries(s.editor->Target).contains(u("Фрукт")));
    QCOMPARE(entries(s.editor->SampCombo), QStringList({u("Груша"), u("Яблоко")}));
  }

  void frameSlotListOrderAndOwnDefinitions() {
    EditorSet s;
    gardenBase(s);
    clickNode(*s.editor, u("Яблоко"));
    QCOMPARE(entries(s.editor->ListBox1), QStringList({u("Вес"), u("Цвет")}));
    showPageOf(*s.editor, s.editor->ListBox1);
    s.editor->ListBox1->setCurrentRow(1);  // the inherited «Цвет»
    QVERIFY(!s.editor->ProtoDelSlot->isEnabled());
    // The sample is shown on page "Экземпляры" by its selection.
    QCOMPARE(s.editor->SampCombo->currentText(), u("Яблоко"));
    QCOMPARE(rows(*s.editor), QStringList({u("Вес=(нет)"), u("Цвет=зеленый")}));

    clickNode(*s.editor, u("Фрукт"));
    s.editor->ListBox1->setCurrentRow(0);  // its own «Вес»
    QVERIFY(s.editor->ProtoDelSlot->isEnabled());
  }

  // Attaching to a frame takes the definition off the frames below it;
  // the samples below get the slot.
  void attachingASlotToAPrototype() {
    EditorSet s;
    gardenBase(s);
    s.kb().AttachSlot(w("Яблоко"), w("Сорт"));
    s.editor->RefreshEditor();
    clickNode(*s.editor, u("Растение"));
    choose(*s.editor, s.editor->ComboBox1, u("Сорт"));
    QVERIFY(s.editor->ProtoAddSlot->isEnabled());
    click(*s.editor, s.editor->ProtoAddSlot);
    QVERIFY(s.kb().Modified);
    QCOMPARE(entries(s.editor->ListBox1), QStringList({u("Цвет"), u("Сорт")}));
    QVERIFY(!s.editor->ProtoAddSlot->isEnabled());
    QVERIFY(s.editor->ProtoDelSlot->isEnabled());
    norvix::ASlotDef* sort = s.kb().FindSlotDef(w("Сорт"));
    QCOMPARE(s.kb().FindFrame(w("Яблоко"))->IndexOfOwnSlotDef(sort), -1);
    QVERIFY(s.kb().FindFrame(w("Яблоко"))->SlotFor(sort));
    QVERIFY(s.kb().FindFrame(w("Груша"))->SlotFor(sort));

    // Choosing a definition the frame already lists offers no attaching.
    choose(*s.editor, s.editor->ComboBox1, u("Цвет"));
    QVERIFY(!s.editor->ProtoAddSlot->isEnabled());
  }

  void detachingASlot() {
    EditorSet s;
    gardenBase(s);
    clickNode(*s.editor, u("Фрукт"));
    s.editor->ListBox1->setCurrentRow(0);
    s.dialogs.answerWarning(Dialogs::Reply::Yes);
    click(*s.editor, s.editor->ProtoDelSlot);
    QCOMPARE(askedTexts(s.dialogs),
             QStringList(
                 {u("Вы действительно хотите удалить слот \"Вес\" из фрейма \"Фрукт\" ?")}));
    QCOMPARE(entries(s.editor->ListBox1), QStringList({u("Цвет")}));
    QVERIFY(!s.kb().FindFrame(w("Яблоко"))->SlotFor(s.kb().FindSlotDef(w("Вес"))));
    QVERIFY(!s.editor->ProtoDelSlot->isEnabled());
  }

  void valueEditor() {
    EditorSet s;
    gardenBase(s);
    choose(*s.editor, s.editor->SampCombo, u("Яблоко"));
    QCOMPARE(rows(*s.editor), QStringList({u("Вес=(нет)"), u("Цвет=зеленый")}));
    s.kb().Modified = false;
    norvix::AFrame* apple = s.kb().FindFrame(w("Яблоко"));
    norvix::ASlot* color = apple->SlotFor(s.kb().FindSlotDef(w("Цвет")));
    norvix::ASlot* weight = apple->SlotFor(s.kb().FindSlotDef(w("Вес")));

    clickRow(*s.editor, u("Цвет"));
    QVERIFY(!s.editor->Edit1->isHidden());
    QCOMPARE(s.editor->Edit1->text(), u("зеленый"));
    QCOMPARE(s.editor->Edit1->geometry().left(),
             s.editor->ListView1->geometry().left() + s.editor->ListView1->columnWidth(0));
    typeInto(*s.editor, s.editor->Edit1, u("красный"));
    QCOMPARE(color->Value, w("красный"));
    QCOMPARE(rows(*s.editor), QStringList({u("Вес=(нет)"), u("Цвет=красный")}));
    // "(нет)" brings the default back.
    typeInto(*s.editor, s.editor->Edit1, u("(нет)"));
    QCOMPARE(color->Value, w("зеленый"));
    // An emptied field takes the default.
    typeInto(*s.editor, s.editor->Edit1, u("синий"));
    typeInto(*s.editor, s.editor->Edit1, QString());
    QCOMPARE(color->Value, w("зеленый"));
    QCOMPARE(s.editor->Edit1->text(), u("зеленый"));
    QVERIFY(!s.kb().Modified);

    // Without a default an empty field stays empty and the row says "(нет)".
    clickRow(*s.editor, u("Вес"));
    QCOMPARE(s.editor->Edit1->text(), QString());
    typeInto(*s.editor, s.editor->Edit1, u("200"));
    QCOMPARE(weight->Value, w("200"));
    typeInto(*s.editor, s.editor->Edit1, QString());
    QCOMPARE(weight->Value, std::string());
    QCOMPARE(rows(*s.editor), QStringList({u("Вес=(нет)"), u("Цвет=зеленый")}));

    // Leaving the field closes it.
    typeInto(*s.editor, s.editor->Edit1, u("300"));
    s.editor->OfferMsg->setFocus();
    QVERIFY(s.editor->Edit1->isHidden());
    QCOMPARE(weight->Value, w("300"));
  }

  void deletingAPrototypeWithChildren() {
    EditorSet s;
    gardenBase(s);
    clickNode(*s.editor, u("Фрукт"));
    s.dialogs.answerWarning(Dialogs::Reply::No);
    click(*s.editor, s.editor->DelProto);
    QCOMPARE(s.kb().Frames().size(), size_t(4));
    s.dialogs.answerWarning(Dialogs::Reply::Yes);
    click(*s.editor, s.editor->DelProto);
    QCOMPARE(askedTexts(s.dialogs).last(),
             u("Вы действительно хотите удалить фрейм-прототип \"Фрукт\" со всеми его потомками?"));
    QCOMPARE(treeLines(s.editor->ProtoList), QStringList({u("Растение")}));
    QCOMPARE(entries(s.editor->Target), QStringList({u("Растение")}));
    QVERIFY(entries(s.editor->SampCombo).isEmpty());
    QCOMPARE(s.kb().Frames().size(), size_t(1));
    QVERIFY(s.kb().FindFrame(w("Растение"))->Children.empty());
    QCOMPARE(s.editor->ProtoList->currentItem(), nullptr);
    QVERIFY(s.editor->box1->isHidden());
    QVERIFY(!s.editor->DelProto->isEnabled());
  }

  // Samples elsewhere stay listed, and the chosen one stays chosen.
  void deletingLeavesOtherSamplesChosen() {
    EditorSet s;
    gardenBase(s);
    norvix::AFrame* vegetable = s.kb().AddFrame(w("Овощ"), nullptr);
    s.kb().AddFrame(w("Морковь"), vegetable)->SetSample(true);
    s.editor->RefreshEditor();
    choose(*s.editor, s.editor->SampCombo, u("Морковь"));
    clickNode(*s.editor, u("Фрукт"));
    s.dialogs.answerWarning(Dialogs::Reply::Yes);
    click(*s.editor, s.editor->DelProto);
    QCOMPARE(entries(s.editor->SampCombo), QStringList({u("Морковь")}));
    QCOMPARE(s.editor->SampCombo->currentText(), u("Морковь"));
    QVERIFY(!s.editor->GroupBox1->isHidden());
    QCOMPARE(entries(s.editor->Target), QStringList({u("Овощ"), u("Растение")}));
  }

  // A sample gets no child, nor does a node whose frame has left the base:
  // nothing is added to the tree or to the base.
  void addChildRefusals() {
    EditorSet s;
    gardenBase(s);
    clickNode(*s.editor, u("Яблоко"));
    s.editor->AddChild->setEnabled(true);
    click(*s.editor, s.editor->AddChild);
    QCOMPARE(errorTexts(s.dialogs), QStringList({u("Экземпляр не может иметь потомков!")}));
    clickNode(*s.editor, u("Растение"));
    s.kb().RenameFrame(w("Растение"), w("Флора"));  // behind the editor's back
    click(*s.editor, s.editor->AddChild);
    QCOMPARE(errorTexts(s.dialogs).last(), u("!"));
    QCOMPARE(treeLines(s.editor->ProtoList),
             QStringList({u("Растение"), u("  Фрукт"), u("    Яблоко"), u("    Груша")}));
    QCOMPARE(s.kb().Frames().size(), size_t(4));
  }

  void deleteQuestions() {
    EditorSet s;
    gardenBase(s);
    clickNode(*s.editor, u("Яблоко"));
    s.dialogs.answerWarning(Dialogs::Reply::No);
    click(*s.editor, s.editor->DelProto);
    click(*s.editor, s.editor->AddProto);
    typeLabel(*s.editor, u("Овощ"));
    clickNode(*s.editor, u("Овощ"));
    s.dialogs.answerWarning(Dialogs::Reply::Yes);
    click(*s.editor, s.editor->DelProto);
    QCOMPARE(askedTexts(s.dialogs),
             QStringList({u("Вы действительно хотите удалить фрейм-экземпляр \"Яблоко\" ?"),
                          u("Вы действительно хотите удалить фрейм-прототип \"Овощ\" ?")}));
    QVERIFY(!s.kb().FindFrame(w("Овощ")));
  }

  void renamingASample() {
    EditorSet s;
    gardenBase(s);
    choose(*s.editor, s.editor->SampCombo, u("Яблоко"));
    renameNode(*s.editor, u("Яблоко"), u("Антоновка"));
    QVERIFY(s.kb().FindFrame(w("Антоновка")));
    QVERIFY(!s.kb().FindFrame(w("Яблоко")));
    QCOMPARE(entries(s.editor->SampCombo), QStringList({u("Антоновка"), u("Груша")}));
    QCOMPARE(s.editor->SampCombo->currentText(), u("Антоновка"));
    QCOMPARE(s.editor->CurrentSample(), u("Антоновка"));
    QCOMPARE(rows(*s.editor), QStringList({u("Вес=(нет)"), u("Цвет=зеленый")}));
    QVERIFY(s.kb().Modified);
  }

  void renameRefusals_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    QTest::newRow("taken") << u("Груша") << u("Неверное имя: \"Груша\" !");
    QTest::newRow("blank") << u("   ") << u("Неверное имя: \"   \" !");
    QTest::newRow("prototype's") << u("Фрукт") << u("Неверное имя: \"Фрукт\" !");
  }

  void renameRefusals() {
    QFETCH(QString, name);
    QFETCH(QString, message);
    EditorSet s;
    gardenBase(s);
    renameNode(*s.editor, u("Яблоко"), name);
    QCOMPARE(errorTexts(s.dialogs), QStringList({message}));
    QVERIFY(s.editor->FindTreeNode(u("Яблоко")));
    QVERIFY(s.kb().FindFrame(w("Яблоко")));
    QVERIFY(!s.kb().Modified);
  }

  // Knowledge-base names compare byte for byte: another letter case is
  // another name.
  void renameToAnotherLetterCase() {
    EditorSet s;
    gardenBase(s);
    renameNode(*s.editor, u("Яблоко"), u("груша"));
    QVERIFY(errorTexts(s.dialogs).isEmpty());
    QVERIFY(s.kb().FindFrame(w("груша")));
    QVERIFY(s.kb().FindFrame(w("Груша")));
  }

  // The target follows its prototype's new name, so the next consultation
  // still finds it.
  void renamingTheTargetPrototype() {
    EditorSet s;
    gardenBase(s);
    renameNode(*s.editor, u("Растение"), u("Флора"));
    QCOMPARE(s.kb().TargetFrame, w("Флора"));
    QCOMPARE(s.editor->Target->currentText(), u("Флора"));
    QCOMPARE(entries(s.editor->Target), QStringList({u("Флора"), u("Фрукт")}));
  }

  void renamingAnotherPrototypeKeepsTheTarget() {
    EditorSet s;
    gardenBase(s);
    renameNode(*s.editor, u("Фрукт"), u("Плод"));
    QCOMPARE(s.kb().TargetFrame, w("Растение"));
    QCOMPARE(s.editor->Target->currentText(), u("Растение"));
    QCOMPARE(entries(s.editor->Target), QStringList({u("Плод"), u("Растение")}));
    QVERIFY(s.kb().FindFrame(w("Плод")));
  }

  void frameDefinitionDoesNotMarkModified() {
    EditorSet s;
    gardenBase(s);
    clickNode(*s.editor, u("Фрукт"));
    typeInto(*s.editor, s.editor->ProtoDef, u("сочный\nплод"));
    QCOMPARE(s.kb().FindFrame(w("Фрукт"))->Definition, norvix::Lines({w("сочный"), w("плод")}));
    QVERIFY(!s.kb().Modified);
    clickNode(*s.editor, u("Растение"));
    clickNode(*s.editor, u("Фрукт"));
    QCOMPARE(s.editor->ProtoDef->toPlainText(), u("сочный\nплод"));
  }
};

QTEST_MAIN(EditorProtoTest)
#include "editor_proto_test.moc"
