// The text form: export then import gives the same file, and errors name
// the line and what was expected.
#include <gtest/gtest.h>

#include <filesystem>

#include "cp1251.h"
#include "file_bytes.h"
#include "kbase_text.h"
#include "test_support.h"

namespace norvix {
namespace {

using test::W;

// Export then import of a loaded base gives back the same file bytes.
void ExpectRoundTrip(const AKBase& kb, const std::string& what) {
  std::string text = ExportText(kb);
  AKBase again;
  std::string error;
  ASSERT_TRUE(ImportText(text, again, error)) << what << ": " << cp1251::toUtf8(error);
  EXPECT_EQ(again.SaveToBytes(), kb.SaveToBytes()) << what;
}

TEST(KbaseText, RoundTripOfExamplesAndFuzzSeeds) {
  int compared = 0;
  for (const char* folder : {"/examples", "/fuzz/kbase/corpus"}) {
    for (const auto& entry : std::filesystem::directory_iterator(SUITE_SOURCE_DIR + std::string(folder))) {
      if (entry.path().extension() != ".dat") continue;
      test::ErrorRecorder quiet;
      AKBase kb;
      if (!kb.LoadFromBytes(test::readAll(entry.path().string()))) continue;
      ExpectRoundTrip(kb, entry.path().string());
      ++compared;
    }
  }
  EXPECT_GE(compared, 14);  // 5 examples, 9 seeds that load
}

// Bytes that need escapes, a trailing blank, "=" in a slot name, empty
// names and lines, a note, and every flag.
TEST(KbaseText, RoundTripOfAwkwardTexts) {
  AKBase kb;
  kb.ProjectName = std::string("tab\there\\ cr\r lf\n nul", 21) + '\0' + "\x98\x7F";
  kb.Author = "trailing blank ";
  kb.AutoReport = false;
  kb.Invitation.clear();
  ASlotDef* odd = kb.AddSlotDef("a = b=");
  odd->Definition = {"", "  indented", "#not a comment"};
  odd->DefaultValue = " ";
  ASlotDef* list = kb.AddSlotDef("");
  kb.SetValueList("", true);
  list->Decompose = true;
  list->DecomposeMsg = "%f ";
  AFrame* root = kb.AddFrame("", nullptr);
  kb.AttachSlot("", "a = b=");
  kb.AttachSlot("", "");
  AFrame* s = kb.AddFrame(W("Экземпляр: x"), root);
  s->SetSample(true);
  s->Slots[0].Value = "= =";
  s->Slots[0].Note = W("примечание");
  s->OfferMsg = " ";
  ExpectRoundTrip(kb, "awkward");
}

TEST(KbaseText, OmittedEntriesTakeNewBaseDefaults) {
  AKBase kb;
  std::string error;
  ASSERT_TRUE(ImportText("Формат: Norvix 1\nЦелевой фрейм: X\nПрототип: X\n", kb, error));
  AKBase fresh;
  EXPECT_EQ(kb.Invitation, fresh.Invitation);
  EXPECT_TRUE(kb.AutoReport);
  EXPECT_EQ(kb.TargetFrame, "X");
  ASSERT_EQ(kb.Frames().size(), 1u);
}

TEST(KbaseText, CrLfAndCommentsAreAccepted) {
  AKBase kb;
  std::string error;
  std::string text = "# c\r\nФормат: Norvix 1\r\n\r\n   # indented comment\r\nАвтор: Я\r\n";
  ASSERT_TRUE(ImportText(text, kb, error)) << cp1251::toUtf8(error);
  EXPECT_EQ(kb.Author, W("Я"));
}

TEST(KbaseText, ErrorsNameTheLineAndWhatWasExpected) {
  const std::string head = "Формат: Norvix 1\nСлот: Цвет\n";
  // A second sample naming its slots as the first did (lines 1-11).
  const std::string second =
      "Формат: Norvix 1\nСлот: Цвет\nСлот: Вес\nЭкземпляр: A\n  Свой слот: Цвет\n"
      "  Свой слот: Вес\n  Значение: Цвет = x\n  Значение: Вес = y\nЭкземпляр: B\n"
      "  Свой слот: Цвет\n  Свой слот: Вес\n";
  struct Case {
    std::string text;
    const char* error;
  } cases[] = {
      {"", "строка 1: ожидалось «Формат: Norvix 1»"},
      {"Формат: Norvix 2\n", "строка 1: ожидалось «Формат: Norvix 1»"},
      {"Формат: Norvix 1\nПроект x\n", "строка 2: ожидалась запись вида «Ключ: значение»"},
      {"Формат: Norvix 1\nЦвет: x\n", "строка 2: неизвестный ключ «Цвет»"},
      {"Формат: Norvix 1\nАвтор: a\nАвтор: b\n", "строка 3: запись уже была в строке 2"},
      {"Формат: Norvix 1\nАвтоотчет: может быть\n", "строка 2: ожидалось «да» или «нет»"},
      {"Формат: Norvix 1\nАвтор: \\q\n", "строка 2: неверная escape-последовательность"},
      {"Формат: Norvix 1\nАвтор: \\x4\n", "строка 2: неверная escape-последовательность"},
      {"Формат: Norvix 1\nАвтор: \xC0\n", "строка 2: текст не в кодировке UTF-8"},
      {"Формат: Norvix 1\nАвтор: \xE0\x80\x80\n", "строка 2: текст не в кодировке UTF-8"},
      {"Формат: Norvix 1\nАвтор: \xF8\x80\x80\n", "строка 2: текст не в кодировке UTF-8"},
      {"Формат: Norvix 1\nАвтор: 漢\n", "строка 2: символа нет в кодировке Windows-1251"},
      {head + "  Родитель: x\n", "строка 3: в описании слота ожидалось"},
      {head + "  Сообщение декомпозиции: m\n", "строка 3: сообщение декомпозиции бывает только"},
      {head + "Прототип: A\nСлот: B\n", "строка 4: слоты описываются до фреймов"},
      {head + "Прототип: A\n  Родитель: B\n", "строка 4: родитель «B» не описан выше"},
      {head + "Экземпляр: A\nПрототип: B\n  Родитель: A\n", "строка 5: родитель «A» - экземпляр"},
      {head + "Прототип: A\nПрототип: A\n", "строка 4: фрейм «A» уже описан в строке 3"},
      {head + "Прототип: A\n  Свой слот: Вес\n", "строка 4: слот «Вес» не описан"},
      {head + "Прототип: A\n  Значение: Цвет = x\n", "строка 4: у прототипа не бывает"},
      {head + "Экземпляр: A\n  Значение: Цвет x\n", "строка 4: ожидалось «Значение: слот = значение»"},
      {head + "Экземпляр: A\n  Значение: Цвет = x\n", "строка 4: слот «Цвет» не относится к экземпляру «A»"},
      {head + "Экземпляр: A\n  Свой слот: Цвет\n  Значение: Цвет = x\n  Значение: Цвет = y\n",
       "строка 6: значение слота уже задано в строке 5"},
      {head + "Экземпляр: A\n  Примечание: n\n", "строка 4: перед примечанием нет значения слота"},
      {second + "  Значение: Вес = z\n  Значение: Вес = w\n", "строка 13: значение слота уже задано в строке 12"},
      {second + "  Значение: Цвет =z\n", "строка 12: ожидалось «Значение: слот = значение»"},
      {second + "  Значение: Цвет = \xC0\n", "строка 12: текст не в кодировке UTF-8"},
      {second + "  Значение: Цвет = \\q\n", "строка 12: неверная escape-последовательность"},
  };
  for (const Case& c : cases) {
    AKBase kb;
    std::string error;
    EXPECT_FALSE(ImportText(c.text, kb, error)) << c.text;
    EXPECT_EQ(cp1251::toUtf8(error).rfind(c.error, 0), 0u)
        << c.text << "\ngot: " << cp1251::toUtf8(error) << "\nwanted: " << c.error;
  }
}

// ImportTextToFileBytes gives what ImportText and SaveToBytes give: the
// same bytes, or the same error.
void ExpectSameFileAsImport(const std::string& text, const std::string& what) {
  AKBase kb;
  std::string importError, bytes, error;
  bool imported = ImportText(text, kb, importError);
  EXPECT_EQ(ImportTextToFileBytes(text, bytes, error), imported) << what;
  if (imported)
    EXPECT_EQ(bytes, kb.SaveToBytes()) << what;
  else
    EXPECT_EQ(error, importError) << what;
}

TEST(KbaseText, FileBytesOfExportedTextsAreTheSavedBases) {
  for (const auto& entry : std::filesystem::directory_iterator(SUITE_SOURCE_DIR "/examples")) {
    if (entry.path().extension() != ".dat") continue;
    AKBase kb;
    ASSERT_TRUE(kb.LoadFromBytes(test::readAll(entry.path().string()))) << entry.path();
    ExpectSameFileAsImport(ExportText(kb), entry.path().string());
  }
}

// Texts whose records the base completes or reorders (each reason is
// ReloadCheck's to tell), and texts that are refused.
TEST(KbaseText, FileBytesOfOtherTextsAreTheSavedBases) {
  const std::string head = "Формат: Norvix 1\nСлот: a\nСлот: b\n  По умолчанию: B\n";
  const char* cases[] = {
      "Прототип: P\n  Свой слот: a\n  Свой слот: b\nЭкземпляр: S\n  Родитель: P\n"
      "  Значение: a = 1\n",
      "Прототип: P\n  Свой слот: a\n  Свой слот: b\nЭкземпляр: S\n  Родитель: P\n"
      "  Значение: b = 1\n  Значение: a = 2\n",
      "Прототип: P\n  Родитель: Q\n",
  };
  for (const char* c : cases) ExpectSameFileAsImport(head + c, c);
  ExpectSameFileAsImport("Формат: Norvix 2\n", "wrong format");
}

// Samples inheriting a long default: too many of them are refused as the
// loader refuses them.
TEST(KbaseText, FileBytesKeepTheLoadersBudget) {
  std::string text = "Формат: Norvix 1\nСлот: a\n  По умолчанию: " + std::string(size_t{1} << 20, 'x') +
                     "\nПрототип: P\n  Свой слот: a\n";
  for (int i = 0; i < 120; ++i) text += "Экземпляр: S" + std::to_string(i) + "\n  Родитель: P\n  Значение: a = v\n";
  AKBase kb;
  std::string error;
  ASSERT_FALSE(ImportText(text, kb, error));
  ExpectSameFileAsImport(text, "120 samples");
}

}  // namespace
}  // namespace norvix
