#include "kbase_builder.h"

#include "win_text.h"

namespace norvix::test {

ASlotDef* KBaseBuilder::Def(const char* name, const char* definition) {
  ASlotDef* def = kb_.AddSlotDef(W(name));
  if (definition) def->Definition = {W(definition)};
  return def;
}

AFrame* KBaseBuilder::Proto(const char* name, AFrame* parent,
                            std::initializer_list<const char*> slots, const char* definition) {
  AFrame* f = kb_.AddFrame(W(name), parent);
  if (definition) f->Definition = {W(definition)};
  for (const char* slot : slots) kb_.AttachSlot(f->Name(), W(slot));
  return f;
}

AFrame* KBaseBuilder::Sample(const char* name, AFrame* parent, SlotValues values) {
  AFrame* f = kb_.AddFrame(W(name), parent);
  f->SetSample(true);
  for (auto [slot, value] : values) {
    const ASlotDef* def = kb_.FindSlotDef(W(slot));
    if (!f->SlotFor(def)) kb_.AttachSlot(f->Name(), W(slot));
    f->SlotFor(def)->Value = W(value);
  }
  return f;
}

}  // namespace norvix::test
