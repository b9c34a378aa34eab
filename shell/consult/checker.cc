#include "checker.h"

#include <algorithm>
#include <functional>
#include <unordered_map>
#include <unordered_set>

#include "cp1251.h"
#include "engine.h"

namespace norvix {

namespace {

// The texts are written here in UTF-8 and used as Windows-1251.
std::string W(const char* utf8) { return cp1251::fromUtf8(utf8); }
std::string Q(const std::string& name) { return W("«") + name + W("»"); }

bool IsBlank(std::string_view text) {
  return text.find_first_not_of(" \t") == std::string_view::npos;
}

class Checker {
 public:
  explicit Checker(const AKBase& kb) : kb_(kb) {}
  std::vector<Finding> Run();

 private:
  void Add(FindingKind kind, std::vector<std::string> frames, std::vector<std::string> slots,
           std::string text) {
    found_.push_back(Finding{kind, std::move(frames), std::move(slots), std::move(text)});
  }
  void Indistinguishable();
  void EmptyPrototypes();
  void MissingValues();
  void UnknownDecompositions();
  void Cycles();
  void UnusedSlots();
  void EmptyTexts();
  void Target();
  // The decomposed values of a sample that name a frame, with their slot.
  std::vector<std::pair<const ASlotDef*, const AFrame*>> Decompositions(const AFrame& sample) const;

  const AKBase& kb_;
  std::vector<Finding> found_;
};

std::vector<Finding> Checker::Run() {
  Indistinguishable();
  EmptyPrototypes();
  MissingValues();
  UnknownDecompositions();
  Cycles();
  UnusedSlots();
  EmptyTexts();
  Target();
  return std::move(found_);
}

// Two samples of one tree whose plain questions are the same can never be
// told apart: every answer that confirms one confirms the other, and the
// first of them in candidate order always wins.  Value-list items reject
// nothing, so they do not count.
void Checker::Indistinguishable() {
  using Questions = std::vector<std::pair<const ASlotDef*, std::string_view>>;
  std::unordered_map<const AFrame*, const AFrame*> rootOf;
  struct Sample {
    const AFrame* frame;
    Questions questions;
  };
  std::vector<Sample> samples;
  std::unordered_map<size_t, std::vector<size_t>> byHash;
  for (const auto& f : kb_.Frames()) {
    const AFrame* root = f->Parent ? rootOf[f->Parent] : f.get();
    rootOf[f.get()] = root;
    if (!f->IsSample) continue;
    Questions questions;
    for (const ASlot& slot : f->Slots)
      if (!slot.Def->IsValueList) questions.emplace_back(slot.Def, slot.Value);
    std::sort(questions.begin(), questions.end());
    size_t hash = std::hash<const AFrame*>{}(root);
    for (auto& [def, value] : questions)
      hash = hash * 1000003u ^ std::hash<const void*>{}(def) ^ std::hash<std::string_view>{}(value);
    byHash[hash].push_back(samples.size());
    samples.push_back(Sample{f.get(), std::move(questions)});
  }
  std::vector<std::vector<size_t>> groups;
  for (auto& [hash, members] : byHash) {
    if (members.size() < 2) continue;
    std::vector<bool> taken(members.size());
    for (size_t i = 0; i < members.size(); ++i) {
      if (taken[i]) continue;
      std::vector<size_t> group{members[i]};
      const Sample& a = samples[members[i]];
      for (size_t j = i + 1; j < members.size(); ++j) {
        const Sample& b = samples[members[j]];
        if (!taken[j] && rootOf[a.frame] == rootOf[b.frame] && a.questions == b.questions) {
          taken[j] = true;
          group.push_back(members[j]);
        }
      }
      if (group.size() > 1) groups.push_back(std::move(group));
    }
  }
  std::sort(groups.begin(), groups.end());  // list order of each group's first sample
  for (const auto& group : groups) {
    std::vector<std::string> names;
    std::string list;
    for (size_t index : group) {
      names.push_back(samples[index].frame->Name());
      list += (list.empty() ? "" : ", ") + Q(names.back());
    }
    Add(FindingKind::Indistinguishable, names, {},
        W("экземпляры ") + list + W(" не различить никакими ответами: о них задаются одни и те "
                                    "же вопросы, и всегда выбирается первый из них"));
  }
}

void Checker::EmptyPrototypes() {
  std::unordered_set<const AFrame*> withSample;
  const auto& frames = kb_.Frames();
  for (auto it = frames.rbegin(); it != frames.rend(); ++it)  // children after parents
    if (((*it)->IsSample || withSample.count(it->get())) && (*it)->Parent)
      withSample.insert((*it)->Parent);
  for (const auto& f : frames)
    if (!f->IsSample && !withSample.count(f.get()))
      Add(FindingKind::EmptyPrototype, {f->Name()}, {},
          W("у прототипа ") + Q(f->Name()) + W(" нет ни одного экземпляра"));
}

// The frame (the sample or an ancestor) whose own definitions list `def`.
const AFrame* Definer(const AFrame* sample, const ASlotDef* def) {
  for (const AFrame* f = sample; f; f = f->Parent)
    if (f->IndexOfOwnSlotDef(def) >= 0) return f;
  return sample;
}

void Checker::MissingValues() {
  for (const auto& f : kb_.Frames()) {
    if (!f->IsSample) continue;
    std::vector<ASlotDef*> defs = f->InheritedDefs();
    for (size_t i = 0; i < defs.size(); ++i) {
      const ASlot* slot = i < f->Slots.size() && f->Slots[i].Def == defs[i] ? &f->Slots[i]
                                                                          : f->SlotFor(defs[i]);
      const AFrame* definer = Definer(f.get(), defs[i]);
      if (!slot)
        Add(FindingKind::MissingValue, {f->Name(), definer->Name()}, {defs[i]->Name()},
            W("у экземпляра ") + Q(f->Name()) + W(" нет слота ") + Q(defs[i]->Name()) +
                W(", который определяет ") + Q(definer->Name()));
      else if (IsBlank(slot->Value))
        Add(FindingKind::MissingValue, {f->Name(), definer->Name()}, {defs[i]->Name()},
            W("у экземпляра ") + Q(f->Name()) + W(" не задано значение слота ") +
                Q(defs[i]->Name()) + W(" (его определяет ") + Q(definer->Name()) + W(")"));
    }
  }
}

void Checker::UnknownDecompositions() {
  for (const auto& f : kb_.Frames()) {
    if (!f->IsSample) continue;
    for (const ASlot& slot : f->Slots) {
      if (!slot.Def->Decompose || IsBlank(slot.Value)) continue;
      std::vector<std::string> items = slot.Def->IsValueList ? SplitValueList(slot.Value)
                                                             : std::vector<std::string>{slot.Value};
      for (const std::string& item : items)
        if (!kb_.FindFrame(item))
          Add(FindingKind::UnknownDecomposition, {f->Name()}, {slot.Def->Name()},
              W("значение ") + Q(item) + W(" слота ") + Q(slot.Def->Name()) + W(" экземпляра ") +
                  Q(f->Name()) + W(" не называет ни одного фрейма, а слот декомпозируется"));
    }
  }
}

std::vector<std::pair<const ASlotDef*, const AFrame*>> Checker::Decompositions(
    const AFrame& sample) const {
  std::vector<std::pair<const ASlotDef*, const AFrame*>> out;
  for (const ASlot& slot : sample.Slots) {
    if (!slot.Def->Decompose) continue;
    if (!slot.Def->IsValueList) {
      if (const AFrame* to = kb_.FindFrame(slot.Value)) out.emplace_back(slot.Def, to);
      continue;
    }
    for (const std::string& item : SplitValueList(slot.Value))
      if (const AFrame* to = kb_.FindFrame(item)) out.emplace_back(slot.Def, to);
  }
  return out;
}

// Synthesizing a prototype tries every sample below it; a sample's
// decomposed values start further syntheses.  A path of these steps that
// comes back to a frame still on it is a cycle, which the consultation cuts
// off (so part of the result silently goes missing).  Depth-first search
// without recursion; each edge back to a frame on the path is one cycle.
void Checker::Cycles() {
  struct Edge {
    const AFrame* to;
    const ASlotDef* via;  // nullptr: from a prototype to a child
  };
  enum Color : char { White, Grey, Black };
  std::unordered_map<const AFrame*, Color> color;
  struct Visit {
    const AFrame* frame;
    std::vector<Edge> edges;
    size_t next = 0;
  };
  auto edgesOf = [this](const AFrame* f) {
    std::vector<Edge> edges;
    if (!f->IsSample) {
      for (const AFrame* child : f->Children) edges.push_back(Edge{child, nullptr});
    } else {
      for (auto [def, to] : Decompositions(*f)) edges.push_back(Edge{to, def});
    }
    return edges;
  };
  for (const auto& start : kb_.Frames()) {
    if (color[start.get()] != White) continue;
    std::vector<Visit> path;
    path.push_back(Visit{start.get(), edgesOf(start.get())});
    color[start.get()] = Grey;
    while (!path.empty()) {
      Visit& top = path.back();
      if (top.next == top.edges.size()) {
        color[top.frame] = Black;
        path.pop_back();
        continue;
      }
      Edge edge = top.edges[top.next++];
      Color& c = color[edge.to];
      if (c == White) {
        c = Grey;
        path.push_back(Visit{edge.to, edgesOf(edge.to)});
      } else if (c == Grey) {
        std::vector<std::string> frames, slots;
        std::string steps;
        size_t from = 0;
        while (path[from].frame != edge.to) ++from;
        for (size_t i = from; i < path.size(); ++i) {
          const Visit& v = path[i];
          const Edge& e = v.edges[v.next - 1];
          if (!e.via) continue;
          frames.push_back(v.frame->Name());
          slots.push_back(e.via->Name());
          steps += (steps.empty() ? "" : ", ") + Q(v.frame->Name()) + W(" (слот ") +
                   Q(e.via->Name()) + W(") -> ") + Q(e.to->Name());
        }
        Add(FindingKind::DecompositionCycle, frames, slots,
            W("цикл декомпозиции: ") + steps + W("; консультация его обрывает"));
      }
    }
  }
}

void Checker::UnusedSlots() {
  std::unordered_set<const ASlotDef*> used;
  for (const auto& f : kb_.Frames()) used.insert(f->OwnSlotDefs.begin(), f->OwnSlotDefs.end());
  for (const auto& def : kb_.SlotDefs())
    if (!used.count(def.get()))
      Add(FindingKind::UnusedSlot, {}, {def->Name()},
          W("слот ") + Q(def->Name()) + W(" не используется ни одним фреймом"));
}

// Messages of the base are always printed, so an empty one prints an empty
// line; the messages of samples and slots are optional, and only one made
// of blanks alone is a fault.  A slot without a name gives questions
// without a subject.
void Checker::EmptyTexts() {
  const std::pair<const std::string*, const char*> base[] = {
      {&kb_.Invitation, "приглашение"},
      {&kb_.SuccessMsg, "сообщение об успехе"},
      {&kb_.FailMsg, "сообщение о неудаче"}};
  for (auto [text, what] : base)
    if (IsBlank(*text)) Add(FindingKind::EmptyText, {}, {}, W("пустое ") + W(what) + W(" базы знаний"));
  for (const auto& def : kb_.SlotDefs()) {
    if (IsBlank(def->Name()))
      Add(FindingKind::EmptyText, {}, {def->Name()},
          W("у слота нет имени: его вопросы состоят из одного значения"));
    if (def->Decompose && !def->DecomposeMsg.empty() && IsBlank(def->DecomposeMsg))
      Add(FindingKind::EmptyText, {}, {def->Name()},
          W("сообщение декомпозиции слота ") + Q(def->Name()) + W(" состоит из одних пробелов"));
  }
  for (const auto& f : kb_.Frames()) {
    if (!f->IsSample) continue;
    const std::pair<const std::string*, const char*> messages[] = {
        {&f->OfferMsg, "при рассмотрении"},
        {&f->SuccessMsg, "при подтверждении"},
        {&f->FailMsg, "при отсечении"}};
    for (auto [text, what] : messages)
      if (!text->empty() && IsBlank(*text))
        Add(FindingKind::EmptyText, {f->Name()}, {},
            W("сообщение ") + Q(W(what)) + W(" экземпляра ") + Q(f->Name()) +
                W(" состоит из одних пробелов"));
  }
}

void Checker::Target() {
  const std::string& target = kb_.TargetFrame;
  const AFrame* frame = target.empty() ? nullptr : kb_.FindFrame(target);
  if (target.empty())
    Add(FindingKind::BadTarget, {}, {}, W("целевой фрейм не задан"));
  else if (!frame)
    Add(FindingKind::BadTarget, {target}, {},
        W("целевой фрейм ") + Q(target) + W(" не найден среди фреймов базы"));
  else if (frame->IsSample)
    Add(FindingKind::BadTarget, {target}, {},
        W("целевой фрейм ") + Q(target) + W(" - экземпляр, а не прототип: выбирать не из чего"));
}

}  // namespace

std::vector<Finding> CheckKnowledgeBase(const AKBase& kb) { return Checker(kb).Run(); }

std::string KindLabel(FindingKind kind) {
  switch (kind) {
    case FindingKind::Indistinguishable: return W("неразличимы");
    case FindingKind::EmptyPrototype: return W("нет экземпляров");
    case FindingKind::MissingValue: return W("нет значения");
    case FindingKind::UnknownDecomposition: return W("нет фрейма");
    case FindingKind::DecompositionCycle: return W("цикл");
    case FindingKind::UnusedSlot: return W("лишний слот");
    case FindingKind::EmptyText: return W("пустой текст");
    case FindingKind::BadTarget: return W("целевой фрейм");
  }
  return {};
}

}  // namespace norvix
