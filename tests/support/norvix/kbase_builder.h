// Builds knowledge bases for tests and examples from UTF-8 names.
#pragma once

#include <initializer_list>
#include <utility>

#include "kbase.h"

namespace norvix::test {

// {slot name, value} pairs of a sample, in order.
using SlotValues = std::initializer_list<std::pair<const char*, const char*>>;

class KBaseBuilder {
 public:
  explicit KBaseBuilder(AKBase& kb) : kb_(kb) {}

  // A slot definition, with its definition text when given.
  ASlotDef* Def(const char* name, const char* definition = nullptr);

  // A prototype below `parent` with the named slots attached and its
  // definition text when given.
  AFrame* Proto(const char* name, AFrame* parent = nullptr,
                std::initializer_list<const char*> slots = {}, const char* definition = nullptr);

  // A sample below `parent` (or a root).  Each value goes to the inherited
  // slot of that name; a slot it does not inherit is attached to the sample
  // first.
  AFrame* Sample(const char* name, AFrame* parent, SlotValues values);

  AKBase& kb() { return kb_; }

 private:
  AKBase& kb_;
};

}  // namespace norvix::test
