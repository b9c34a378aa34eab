// Dialogues with projbase for the end-to-end tests: what to wait for on the
// screen and what to type then.  Texts are in UTF-8, the terminal's
// encoding in the tests; Enter is typed as a carriage return, as a terminal
// sends it.
#pragma once

#include <string>
#include <vector>

#include "process_driver.h"

namespace pbtest {

inline const std::string kMenu =
    "1 - Получение информации о проекте\n"
    "2 - Добавление новой записи в базу.\n"
    "3 - Изменение информации\n"
    "4 - Удаление записи из базы\n"
    "0 - Выйти\n";
inline const std::string kMenuEnd = "0 - Выйти\n";
inline const std::string kAskName = "Введите наименование проекта\n";
inline const std::string kAskTechnology = "Введите технологию изготовления\n";
inline const std::string kAskCode = "Введите шифр проекта\n";
inline const std::string kAskNewCode = "Введите новый шифр проекта\n";
inline const std::string kAskDelete = "Укажите шифр проекта, запись о котором нужно удалить из базы\n";
inline const std::string kCodeIs = "Шифр проекта: ";
inline const std::string kNoProject = "Проекта в базе нет";

struct Step {
  std::string waitFor;  // shown before typing; empty: type at once
  std::string type;
};
using Dialogue = std::vector<Step>;

Dialogue operator+(Dialogue a, const Dialogue& b);

Dialogue addRecord(const std::string& name, const std::string& technology, const std::string& code);
// Key 1; `shown` is the code expected on the screen.  A blank is typed as
// the key that brings the menu back.
Dialogue lookUp(const std::string& name, const std::string& technology, const std::string& shown);
Dialogue changeCode(const std::string& name, const std::string& technology, const std::string& code);
Dialogue deleteRecord(const std::string& code);
Dialogue saveAndLeave();

// Runs the dialogue in a pseudo-terminal in `dir`.  Fails the current test
// (with the transcript) when something awaited does not appear.  Returns
// the exit status; the transcript goes to `shown` when given.
int runInTerminal(const std::string& dir, const Dialogue& dialogue, std::string* shown = nullptr);

// What the dialogue types, with line feeds for Enter, as a script would
// feed it through a pipe.
std::string scriptOf(const Dialogue& dialogue);

// The Windows-1251 bytes of a UTF-8 text, as the fact file holds them.
std::string win(const std::string& utf8);

}  // namespace pbtest
