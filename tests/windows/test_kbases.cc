// The knowledge bases of the window tests.
#include "test_kbases.h"

#include "cp1251.h"
#include "kbase.h"

#include <QFile>
#include <QtTest>

std::string cp(const char* utf8) { return cp1251::fromUtf8(utf8); }

namespace {

void save(norvix::AKBase& kb, const QString& path) {
  if (!kb.SaveToFile(QFile::encodeName(path).toStdString()))
    qFatal("cannot write the test base %s", qPrintable(path));
}

void addSample(norvix::AKBase& kb, norvix::AFrame* parent, const char* name,
               norvix::ASlotDef* def, const char* value) {
  norvix::AFrame* sample = kb.AddFrame(cp(name), parent);
  sample->SetSample(true);
  sample->SlotFor(def)->Value = cp(value);
}

void fillFruit(norvix::AKBase& kb) {
  kb.ProjectName = cp("Сад");
  norvix::ASlotDef* colour = kb.AddSlotDef(cp("Цвет"));
  norvix::AFrame* fruit = kb.AddFrame(cp("Фрукт"), nullptr);
  kb.AttachSlot(cp("Фрукт"), cp("Цвет"));
  addSample(kb, fruit, "Яблоко", colour, "красный");
  addSample(kb, fruit, "Лимон", colour, "желтый");
}

}  // namespace

void writeFruitBase(const QString& path) {
  norvix::AKBase kb;
  fillFruit(kb);
  kb.TargetFrame = cp("Фрукт");
  save(kb, path);
}

void writeNoTargetBase(const QString& path) {
  norvix::AKBase kb;
  fillFruit(kb);
  save(kb, path);
}

void writeSystemBase(const QString& path) {
  norvix::AKBase kb;
  kb.ProjectName = cp("ПК");
  kb.TargetFrame = cp("Система");
  norvix::ASlotDef* type = kb.AddSlotDef(cp("Тип"));
  norvix::ASlotDef* block = kb.AddSlotDef(cp("Блок"));
  block->Decompose = true;
  norvix::ASlotDef* clock = kb.AddSlotDef(cp("Частота"));
  norvix::AFrame* system = kb.AddFrame(cp("Система"), nullptr);
  kb.AttachSlot(cp("Система"), cp("Тип"));
  kb.AttachSlot(cp("Система"), cp("Блок"));
  system->SetSample(true);
  system->SlotFor(type)->Value = cp("настольный");
  system->SlotFor(block)->Value = cp("Процессор");
  norvix::AFrame* cpu = kb.AddFrame(cp("Процессор"), nullptr);
  kb.AttachSlot(cp("Процессор"), cp("Частота"));
  addSample(kb, cpu, "P1", clock, "2000");
  save(kb, path);
}

void writeBytes(const QString& path, const std::string& bytes) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
      file.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
          static_cast<qint64>(bytes.size()))
    qFatal("cannot write %s", qPrintable(path));
}
