#include "fact_set.h"

#include <algorithm>
#include <utility>

namespace projbase {
namespace {

FactSet::iterator findRecord(FactSet& facts, const std::string& name,
                             const std::string& technology) {
  return std::find_if(facts.begin(), facts.end(), [&](const Knolbase& r) {
    return r.name == name && r.technology == technology;
  });
}

}  // namespace

const std::string* codeOf(const FactSet& facts, const std::string& name,
                          const std::string& technology) {
  for (const Knolbase& r : facts)
    if (r.name == name && r.technology == technology) return &r.code;
  return nullptr;
}

void addFact(FactSet& facts, Knolbase record) { facts.push_back(std::move(record)); }

bool changeCode(FactSet& facts, const std::string& name, const std::string& technology,
                const std::string& newCode) {
  auto it = findRecord(facts, name, technology);
  if (it == facts.end()) return false;
  facts.erase(it);
  facts.push_back(Knolbase{name, technology, newCode});
  return true;
}

bool removeByCode(FactSet& facts, const std::string& code) {
  auto it = std::find_if(facts.begin(), facts.end(),
                         [&](const Knolbase& r) { return r.code == code; });
  if (it == facts.end()) return false;
  facts.erase(it);
  return true;
}

}  // namespace projbase
