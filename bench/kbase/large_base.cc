#include "large_base.h"

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "cp1251.h"

namespace bench {

namespace {

using norvix::AFrame;
using norvix::AKBase;

std::string W(const char* utf8) { return cp1251::fromUtf8(utf8); }

std::vector<std::string> WList(std::initializer_list<const char*> utf8) {
  std::vector<std::string> out;
  for (const char* s : utf8) out.push_back(W(s));
  return out;
}

// 30 slots: the root lists 6, each level below adds its own 6, 8 and 10.
const std::vector<std::string>& SlotNames() {
  static const std::vector<std::string> names = WList(
      {"Цвет", "Материал", "Форма", "Размер", "Вес", "Назначение",
       "Производитель", "Страна", "Гарантия", "Цена", "Питание", "Корпус",
       "Покрытие", "Крепление", "Упаковка", "Сезон", "Стиль", "Уход", "Запах", "Звук",
       "Скорость", "Мощность", "Объем", "Прочность", "Точность", "Шум", "Нагрев", "Ресурс",
       "Комплектация", "Особенности"});
  return names;
}

const std::vector<std::string>& Words() {
  static const std::vector<std::string> words = WList(
      {"красный", "зеленый", "синий", "желтый", "белый", "черный", "серый", "легкий",
       "тяжелый", "крупный", "мелкий", "круглый", "плоский", "гладкий", "шершавый", "мягкий",
       "твердый", "теплый", "холодный", "тихий", "громкий", "быстрый", "медленный", "прочный"});
  return words;
}

const std::vector<std::string>& Roots() {
  static const std::vector<std::string> roots = WList(
      {"Береза", "Сосна", "Ольха", "Рябина", "Клен", "Дуб", "Липа", "Ясень", "Вяз", "Ель"});
  return roots;
}

// Value of slot `slot` for a sample: one of a dozen words per slot, the
// last two slots value lists of two or three items.
std::string Value(std::mt19937& rng, int slot) {
  const auto& words = Words();
  auto pick = [&] { return words[(rng() % 12 + static_cast<unsigned>(slot)) % words.size()]; };
  if (slot >= 28) return pick() + "; " + pick() + (rng() % 2 ? "; " + pick() : "");
  return pick();
}

}  // namespace

void BuildLargeBase(AKBase& kb) {
  std::mt19937 rng(2026);
  kb.ProjectName = W("Каталог изделий");
  kb.TargetFrame = W("Изделие");
  const auto& slots = SlotNames();
  for (size_t i = 0; i < slots.size(); ++i) {
    norvix::ASlotDef* def = kb.AddSlotDef(slots[i]);
    def->Definition = {W("Признак изделия: ") + slots[i]};
    def->IsValueList = i >= 28;
  }
  auto attach = [&](AFrame* f, size_t from, size_t to) {
    for (size_t i = from; i < to; ++i) kb.AttachSlot(f->Name(), slots[i]);
  };
  // Levels: 1 root, 9, 90, 900 prototypes = 1,000.
  AFrame* root = kb.AddFrame(W("Изделие"), nullptr);
  attach(root, 0, 6);
  std::vector<AFrame*> level{root};
  const size_t fanout[] = {9, 10, 10};
  const size_t slotFrom[] = {6, 12, 20};
  const size_t slotTo[] = {12, 20, 30};
  for (int depth = 0; depth < 3; ++depth) {
    std::vector<AFrame*> next;
    for (AFrame* parent : level) {
      for (size_t k = 0; k < fanout[depth]; ++k) {
        std::string name = W("Класс ") + Roots()[next.size() % Roots().size()] + " " +
                           std::to_string(depth + 1) + "-" + std::to_string(next.size() + 1);
        AFrame* f = kb.AddFrame(name, parent);
        f->Definition = {W("Группа изделий уровня ") + std::to_string(depth + 1)};
        attach(f, slotFrom[depth], slotTo[depth]);
        next.push_back(f);
      }
    }
    level = std::move(next);
  }
  // 99,000 samples, 110 under each of the 900 lowest prototypes.
  int n = 0;
  for (AFrame* parent : level) {
    for (int k = 0; k < kSamples / static_cast<int>(level.size()); ++k, ++n) {
      std::string name = W("Модель ") + Roots()[static_cast<size_t>(n) % Roots().size()] + "-" +
                         std::to_string(100000 + n);
      AFrame* s = kb.AddFrame(name, parent);
      s->SetSample(true);
      s->OfferMsg = W("Рассмотрим модель %f");
      s->FailMsg = W("Модель %f не подходит");
      s->SuccessMsg = W("Подходит модель %f");
      for (norvix::ASlot& slot : s->Slots) {
        int index = static_cast<int>(std::find(slots.begin(), slots.end(), slot.Def->Name()) - slots.begin());
        slot.Value = Value(rng, index);
      }
    }
  }
  kb.Modified = false;
}

}  // namespace bench
