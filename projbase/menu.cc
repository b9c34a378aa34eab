#include "menu.h"

#include "messages.h"

namespace projbase {
namespace {

// What the loop does after a command.
enum class Next { Menu, Stop };

void writeLine(Console& console, std::string_view text) {
  console.write(text);
  console.newLine();
}

void writeMenu(Console& console) {
  for (const char* line : {msg::kMenu1, msg::kMenu2, msg::kMenu3, msg::kMenu4, msg::kMenu0})
    writeLine(console, line);
}

// Writes a prompt on its own line and reads the answer right after it.
Input ask(Console& console, const char* prompt, std::string& answer) {
  writeLine(console, prompt);
  return console.readLine(answer);
}

// Turns the outcome of an abandoned or ended read into the loop's next step.
Next after(Input input) { return input == Input::End ? Next::Stop : Next::Menu; }

// Key 1: the code for a name and technology, then one key not shown, so
// that the menu follows the code on the same line.
Next lookUp(Console& console, const FactSet& facts) {
  std::string name, technology;
  Input in = ask(console, msg::kAskName, name);
  if (in == Input::Ok) in = ask(console, msg::kAskTechnology, technology);
  if (in != Input::Ok) return after(in);
  console.write(msg::kCodeIs);
  console.write(FindCode(facts, name, technology));
  int key = 0;
  return after(console.readKey(key));
}

// Key 2: a new record at the end of the list.
Next add(Console& console, FactSet& facts) {
  Knolbase r;
  Input in = ask(console, msg::kAskName, r.name);
  if (in == Input::Ok) in = ask(console, msg::kAskTechnology, r.technology);
  if (in == Input::Ok) in = ask(console, msg::kAskCode, r.code);
  if (in != Input::Ok) return after(in);
  addFact(facts, std::move(r));
  return Next::Menu;
}

// Key 3: a new code; the changed record moves to the end of the list.
Next change(Console& console, FactSet& facts) {
  std::string name, technology, code;
  Input in = ask(console, msg::kAskName, name);
  if (in == Input::Ok) in = ask(console, msg::kAskTechnology, technology);
  if (in == Input::Ok) in = ask(console, msg::kAskNewCode, code);
  if (in != Input::Ok) return after(in);
  changeCode(facts, name, technology, code);
  return Next::Menu;
}

// Key 4: removes the first record with the code typed.
Next remove(Console& console, FactSet& facts) {
  std::string code;
  Input in = ask(console, msg::kAskDeleteCode, code);
  if (in != Input::Ok) return after(in);
  removeByCode(facts, code);
  return Next::Menu;
}

// Key 0: saves and ends.  When the file cannot be written the records stay
// in memory and the menu comes back, so nothing typed is lost.
Next saveAndLeave(Console& console, FactSet& facts, const SaveFacts& save) {
  std::string error;
  if (!save(facts, error)) {
    console.write(msg::kSaveFailed);
    console.write(msg::kFactFile);
    console.write(": ");
    writeLine(console, error);
    writeLine(console, msg::kRecordsKept);
    return Next::Menu;
  }
  facts.clear();
  writeLine(console, msg::kYes);
  return Next::Stop;
}

Next runKey(Console& console, FactSet& facts, const SaveFacts& save, int key) {
  switch (key) {
    case '1': return lookUp(console, facts);
    case '2': return add(console, facts);
    case '3': return change(console, facts);
    case '4': return remove(console, facts);
    case '0': return saveAndLeave(console, facts, save);
    default: return Next::Menu;
  }
}

}  // namespace

std::string FindCode(const FactSet& facts, const std::string& name, const std::string& technology) {
  const std::string* code = codeOf(facts, name, technology);
  return code ? *code : std::string(msg::kNoProject);
}

SessionEnd ShowMenu(Console& console, FactSet& facts, const SaveFacts& save) {
  // A save that failed leaves the records unsaved until one succeeds.
  bool saved = false, unsaved = false;
  const SaveFacts tracked = [&](const FactSet& f, std::string& error) {
    saved = save(f, error);
    unsaved = !saved;
    return saved;
  };
  for (;;) {
    writeMenu(console);
    int key = 0;
    Next next = console.readKey(key) == Input::End ? Next::Stop
                                                   : runKey(console, facts, tracked, key);
    if (next == Next::Menu) continue;
    if (saved) return SessionEnd::Saved;
    if (!unsaved) return SessionEnd::Ended;
    writeLine(console, msg::kNotSaved);
    return SessionEnd::Unsaved;
  }
}

}  // namespace projbase
