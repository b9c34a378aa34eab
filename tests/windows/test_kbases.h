// Knowledge base files for the window tests, written through the model so
// they are always in the current format.
#pragma once

#include <QString>
#include <string>

// The fruit base: project «Сад», target «Фрукт» with the samples «Яблоко»
// (Цвет красный) and «Лимон» (Цвет желтый).
void writeFruitBase(const QString& path);

// The same base without a target.
void writeNoTargetBase(const QString& path);

// A base whose target «Система» decomposes along «Блок» into «Процессор»:
//   Система: Тип настольный, Блок Процессор (decomposed)
//   Процессор (prototype) with the sample P1: Частота 2000
void writeSystemBase(const QString& path);

// Writes raw bytes to a file.
void writeBytes(const QString& path, const std::string& bytes);
