// The knowledge bases of the window tests.
#include "test_kbases.h"

#include "kbase.h"
#include "kbase_builder.h"
#include "win_text.h"

#include <QFile>
#include <QtTest>

namespace {

using norvix::test::W;

void save(norvix::AKBase& kb, const QString& path) {
  if (!kb.SaveToFile(QFile::encodeName(path).toStdString()))
    qFatal("cannot write the test base %s", qPrintable(path));
}

void fillFruit(norvix::test::KBaseBuilder& b) {
  b.kb().ProjectName = W("Сад");
  b.Def("Цвет");
  norvix::AFrame* fruit = b.Proto("Фрукт", nullptr, {"Цвет"});
  b.Sample("Яблоко", fruit, {{"Цвет", "красный"}});
  b.Sample("Лимон", fruit, {{"Цвет", "желтый"}});
}

}  // namespace

void writeFruitBase(const QString& path) {
  norvix::AKBase kb;
  norvix::test::KBaseBuilder b(kb);
  fillFruit(b);
  kb.TargetFrame = W("Фрукт");
  save(kb, path);
}

void writeNoTargetBase(const QString& path) {
  norvix::AKBase kb;
  norvix::test::KBaseBuilder b(kb);
  fillFruit(b);
  save(kb, path);
}

void writeSystemBase(const QString& path) {
  norvix::AKBase kb;
  norvix::test::KBaseBuilder b(kb);
  kb.ProjectName = W("ПК");
  kb.TargetFrame = W("Система");
  b.Def("Тип");
  b.Def("Блок")->Decompose = true;
  b.Def("Частота");
  b.Sample("Система", nullptr, {{"Тип", "настольный"}, {"Блок", "Процессор"}});
  norvix::AFrame* cpu = b.Proto("Процессор", nullptr, {"Частота"});
  b.Sample("P1", cpu, {{"Частота", "2000"}});
  save(kb, path);
}

void writeBytes(const QString& path, const std::string& bytes) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
      file.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
          static_cast<qint64>(bytes.size()))
    qFatal("cannot write %s", qPrintable(path));
}
