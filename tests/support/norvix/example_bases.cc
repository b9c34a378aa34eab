// Source of the example knowledge bases.  The texts are UTF-8 here and
// stored as Windows-1251, the knowledge base's encoding.
#include "example_bases.h"

#include <initializer_list>
#include <utility>

#include "cp1251.h"

namespace norvix::examples {

namespace {

std::string W(const char* utf8) { return cp1251::fromUtf8(utf8); }

using Values = std::initializer_list<std::pair<const char*, const char*>>;

ASlotDef* Def(AKBase& kb, const char* name, const char* definition) {
  ASlotDef* def = kb.AddSlotDef(W(name));
  def->Definition = {W(definition)};
  return def;
}

AFrame* Proto(AKBase& kb, const char* name, AFrame* parent, std::initializer_list<const char*> slots,
              const char* definition) {
  AFrame* f = kb.AddFrame(W(name), parent);
  f->Definition = {W(definition)};
  for (const char* slot : slots) kb.AttachSlot(f->Name(), W(slot));
  return f;
}

// A sample below `parent` with the given values of its inherited slots.
AFrame* Sample(AKBase& kb, const char* name, AFrame* parent, Values values) {
  AFrame* f = kb.AddFrame(W(name), parent);
  f->SetSample(true);
  for (auto [slot, value] : values) f->SlotFor(kb.FindSlotDef(W(slot)))->Value = W(value);
  return f;
}

void Project(AKBase& kb, const char* name, const char* purpose, const char* subject,
             const char* target) {
  kb.ProjectName = W(name);
  kb.Purpose = W(purpose);
  kb.Subject = W(subject);
  kb.Author = W("Команда Norvix");
  kb.TargetFrame = W(target);
}

}  // namespace

void BuildFruit(AKBase& kb) {
  Project(kb, "Фрукты", "Определение фрукта по цвету, вкусу и размеру", "Ботаника", "Фрукт");
  kb.Invitation = W("Определим фрукт. Отвечайте Д (да) или Н (нет).");
  kb.SuccessMsg = W("Фрукт определен:");
  kb.FailMsg = W("Такого фрукта в базе нет.");
  Def(kb, "Цвет", "Цвет кожуры спелого плода");
  Def(kb, "Вкус", "Вкус мякоти");
  Def(kb, "Размер", "Размер плода: маленький, средний или большой");
  AFrame* fruit = Proto(kb, "Фрукт", nullptr, {"Цвет", "Вкус", "Размер"}, "Съедобный плод растения");
  AFrame* citrus = Proto(kb, "Цитрусовые", fruit, {}, "Плоды с толстой ароматной кожурой");
  AFrame* pome = Proto(kb, "Семечковые", fruit, {}, "Плоды с семенами в сердцевине");
  AFrame* berries = Proto(kb, "Ягоды", fruit, {}, "Небольшие сочные плоды");
  Sample(kb, "Апельсин", citrus, {{"Цвет", "оранжевый"}, {"Вкус", "сладкий"}, {"Размер", "средний"}});
  Sample(kb, "Лимон", citrus, {{"Цвет", "желтый"}, {"Вкус", "кислый"}, {"Размер", "средний"}});
  Sample(kb, "Мандарин", citrus, {{"Цвет", "оранжевый"}, {"Вкус", "сладкий"}, {"Размер", "маленький"}});
  Sample(kb, "Яблоко", pome, {{"Цвет", "красный"}, {"Вкус", "сладкий"}, {"Размер", "средний"}});
  Sample(kb, "Груша", pome, {{"Цвет", "желтый"}, {"Вкус", "сладкий"}, {"Размер", "средний"}});
  Sample(kb, "Вишня", berries, {{"Цвет", "красный"}, {"Вкус", "кислый"}, {"Размер", "маленький"}});
  Sample(kb, "Клубника", berries, {{"Цвет", "красный"}, {"Вкус", "сладкий"}, {"Размер", "маленький"}});
  Sample(kb, "Арбуз", berries, {{"Цвет", "зеленый"}, {"Вкус", "сладкий"}, {"Размер", "большой"}});
  for (const auto& f : kb.Frames()) {
    if (!f->IsSample) continue;
    f->OfferMsg = W("Может быть, это %f?");
    f->SuccessMsg = W("Да, это %f.");
    f->FailMsg = W("Нет, не %f.");
  }
  kb.Modified = false;
}

void BuildComputer(AKBase& kb) {
  Project(kb, "Компьютер", "Подбор конфигурации компьютера по назначению",
          "Вычислительная техника", "Компьютер");
  kb.Invitation = W("Подберем компьютер. Отвечайте Д (да) или Н (нет).");
  kb.SuccessMsg = W("Конфигурация подобрана:");
  kb.FailMsg = W("Подходящей конфигурации нет.");
  Def(kb, "Назначение", "Для чего нужен компьютер");
  Def(kb, "Бюджет", "Сколько можно потратить");
  ASlotDef* cpu = Def(kb, "Процессор", "Класс процессора");
  cpu->Decompose = true;
  cpu->DecomposeMsg = W("Подбираем процессор для: %f");
  ASlotDef* drive = Def(kb, "Накопитель", "Устройство хранения данных");
  drive->Decompose = true;
  drive->DecomposeMsg = W("Подбираем накопитель для: %f");
  ASlotDef* devices = Def(kb, "Периферия", "Внешние устройства, по одному на вопрос");
  devices->IsValueList = true;
  devices->Decompose = true;
  devices->DecomposeMsg = W("Подбираем устройство для: %f");
  Def(kb, "Ядра", "Число ядер процессора");
  Def(kb, "Частота", "Наибольшая тактовая частота");
  Def(kb, "Тип", "Тип накопителя");
  Def(kb, "Объем", "Емкость накопителя");
  Def(kb, "Диагональ", "Диагональ экрана");
  Def(kb, "Подключение", "Как устройство подключается");
  Def(kb, "Печать", "Способ печати");

  AFrame* pc = Proto(kb, "Компьютер", nullptr, {"Назначение", "Бюджет", "Периферия", "Процессор", "Накопитель"},
                     "Персональный компьютер в сборе");
  Sample(kb, "Офисный ПК", pc,
         {{"Назначение", "работа с документами"}, {"Бюджет", "небольшой"},
          {"Процессор", "Офисный процессор"}, {"Накопитель", "Жесткий диск"},
          {"Периферия", "Монитор; Клавиатура; Мышь; Принтер"}});
  Sample(kb, "Игровой ПК", pc,
         {{"Назначение", "игры"}, {"Бюджет", "большой"}, {"Процессор", "Игровой процессор"},
          {"Накопитель", "SSD"}, {"Периферия", "Монитор; Клавиатура; Мышь"}});
  Sample(kb, "Рабочая станция", pc,
         {{"Назначение", "расчеты и моделирование"}, {"Бюджет", "большой"},
          {"Процессор", "Процессор"}, {"Накопитель", "SSD"}, {"Периферия", "Монитор; Клавиатура"}});

  AFrame* cpus = Proto(kb, "Процессор", nullptr, {"Ядра", "Частота"}, "Центральный процессор");
  AFrame* office = Proto(kb, "Офисный процессор", cpus, {}, "Недорогой процессор");
  AFrame* gaming = Proto(kb, "Игровой процессор", cpus, {}, "Быстрый процессор");
  Sample(kb, "Core i3", office, {{"Ядра", "4"}, {"Частота", "4,3 ГГц"}});
  Sample(kb, "Ryzen 3", office, {{"Ядра", "4"}, {"Частота", "4,0 ГГц"}});
  Sample(kb, "Core i7", gaming, {{"Ядра", "8"}, {"Частота", "5,0 ГГц"}});
  Sample(kb, "Ryzen 7", gaming, {{"Ядра", "8"}, {"Частота", "4,7 ГГц"}});
  Sample(kb, "Xeon W", cpus, {{"Ядра", "16"}, {"Частота", "3,5 ГГц"}});

  AFrame* drives = Proto(kb, "Накопитель", nullptr, {"Тип", "Объем"}, "Где хранятся данные");
  AFrame* ssd = Proto(kb, "SSD", drives, {}, "Твердотельный накопитель");
  AFrame* hdd = Proto(kb, "Жесткий диск", drives, {}, "Накопитель на магнитных дисках");
  Sample(kb, "Жесткий диск 1 ТБ", hdd, {{"Тип", "HDD"}, {"Объем", "1 ТБ"}});
  Sample(kb, "Жесткий диск 4 ТБ", hdd, {{"Тип", "HDD"}, {"Объем", "4 ТБ"}});
  Sample(kb, "SSD 512 ГБ", ssd, {{"Тип", "SSD"}, {"Объем", "512 ГБ"}});
  Sample(kb, "SSD 2 ТБ", ssd, {{"Тип", "SSD"}, {"Объем", "2 ТБ"}});

  AFrame* monitor = Proto(kb, "Монитор", nullptr, {"Диагональ"}, "Устройство вывода изображения");
  Sample(kb, "Монитор 24", monitor, {{"Диагональ", "24 дюйма"}});
  Sample(kb, "Монитор 27", monitor, {{"Диагональ", "27 дюймов"}});
  AFrame* keyboard = Proto(kb, "Клавиатура", nullptr, {"Подключение"}, "Устройство ввода текста");
  Sample(kb, "Проводная клавиатура", keyboard, {{"Подключение", "кабель"}});
  Sample(kb, "Беспроводная клавиатура", keyboard, {{"Подключение", "радиоканал"}});
  AFrame* mouse = Proto(kb, "Мышь", nullptr, {"Подключение"}, "Указательное устройство");
  Sample(kb, "Проводная мышь", mouse, {{"Подключение", "кабель"}});
  Sample(kb, "Беспроводная мышь", mouse, {{"Подключение", "радиоканал"}});
  AFrame* printer = Proto(kb, "Принтер", nullptr, {"Печать"}, "Устройство печати");
  Sample(kb, "Лазерный принтер", printer, {{"Печать", "лазерная"}});
  Sample(kb, "Струйный принтер", printer, {{"Печать", "струйная"}});
  kb.FindFrame(W("Офисный ПК"))->Definition = {W("Недорогой компьютер для работы с документами")};
  kb.FindFrame(W("Игровой ПК"))->Definition = {W("Быстрый компьютер для игр"), W("с хорошей видеокартой")};
  kb.FindFrame(W("Рабочая станция"))->Definition = {W("Компьютер для расчетов")};
  for (const auto& f : kb.Frames())
    if (f->IsSample) f->SuccessMsg = W("Выбрано: %f");
  kb.Modified = false;
}

}  // namespace norvix::examples
