// Reading the text form of a knowledge base.  The text is turned into the
// bytes of the binary file, record by record in the text's order, and those
// bytes are loaded by the file reader: what the text describes is exactly
// what a file with those records would give.  Everything the file reader
// would refuse or skip is reported here first, with the line.
#include <array>
#include <cstdint>
#include <cstring>
#include <unordered_map>

#include "byte_sink.h"
#include "cp1251.h"
#include "error_sink.h"
#include "kbase_format.h"
#include "kbase_text.h"
#include "load_budget.h"
#include "reload_check.h"
#include "text_decoding.h"

namespace norvix {

namespace {

std::string W(const char* utf8) { return cp1251::fromUtf8(utf8); }
std::string Q(std::string_view name) { return W("«") + std::string(name) + W("»"); }

enum class Key {
  Format, Project, Purpose, Subject, Author, AutoReport, Target, Invitation, Success, Failure,
  Slot, Definition, Default, ValueList, Decompose, DecomposeMsg,
  Prototype, Sample, Parent, OwnSlot, Offer, Confirm, Reject, Value, Note,
};

// The keys as the text spells them (UTF-8), so that a line's key is found
// before anything is decoded.
const std::unordered_map<std::string_view, Key>& Keys() {
  static const std::unordered_map<std::string_view, Key> keys = {
      {"Формат", Key::Format}, {"Проект", Key::Project}, {"Назначение", Key::Purpose},
      {"Предметная область", Key::Subject}, {"Автор", Key::Author},
      {"Автоотчет", Key::AutoReport}, {"Целевой фрейм", Key::Target},
      {"Приглашение", Key::Invitation}, {"Успех", Key::Success}, {"Неудача", Key::Failure},
      {"Слот", Key::Slot}, {"Определение", Key::Definition}, {"По умолчанию", Key::Default},
      {"Список значений", Key::ValueList}, {"Декомпозиция", Key::Decompose},
      {"Сообщение декомпозиции", Key::DecomposeMsg}, {"Прототип", Key::Prototype},
      {"Экземпляр", Key::Sample}, {"Родитель", Key::Parent}, {"Свой слот", Key::OwnSlot},
      {"При рассмотрении", Key::Offer}, {"При подтверждении", Key::Confirm},
      {"При отсечении", Key::Reject}, {"Значение", Key::Value}, {"Примечание", Key::Note}};
  return keys;
}

// Thrown with the message of the first error; caught at the top.
struct TextError {
  std::string message;
};

struct SlotDefRecord {
  std::string name;
  Lines definition;
  std::string defaultValue;
  bool valueList = false, decompose = false;
  std::string decomposeMsg;
  size_t decomposeMsgLine = 0;
};

// A sample's value; its record is in the frame's value bytes.
struct SlotValue {
  int def;
  size_t line;
};

struct FrameInfo {
  int parent;             // index, -1 for a root
  bool sample;
  std::vector<int> own;   // own slot definitions (indexes of first definitions)
  size_t line;
};

class TextReader {
 public:
  explicit TextReader(std::string_view text) : text_(text) {}
  std::string Run();
  // After Run: whether loading its bytes and saving the base gives them back.
  bool SavesBack(size_t fileSize) const { return reload_.SavesBack(fileSize); }

 private:
  bool NextLine();
  bool FindKey(Key& key, std::string_view& value);
  [[noreturn]] void FailEntry();
  void Entry(Key key, std::string_view raw);
  bool KnownSlotValue(std::string_view raw);
  void AddValue(int def, std::string_view text, bool decoded);
  void SetNote(std::string_view value);
  [[noreturn]] void Fail(const std::string& what) const {
    throw TextError{W("строка ") + std::to_string(lineNo_) + ": " + what};
  }
  void Decode(std::string_view utf8);
  size_t DecodeTo(std::string_view utf8, char* out) const;
  size_t UnescapeIn(char* text, size_t size) const;
  std::string Unescape(std::string_view value) const {
    std::string out;
    UnescapeInto(value, out);
    return out;
  }
  void UnescapeInto(std::string_view value, std::string& out) const;
  int DefIndexAt(size_t position, const std::string& name);
  bool Flag(std::string_view value) const;
  void HeaderEntry(Key key, std::string_view value);
  void SlotEntry(Key key, std::string_view value);
  void FrameEntry(Key key, std::string_view value);
  void BeginFrame(bool sample, std::string name);
  void EndBlock();
  void EndSlotDef();
  void EndFrame();
  void EmitHeadAndSlotDefs();
  int DefIndex(const std::string& name) const;

  std::string_view text_;
  size_t pos_ = 0;
  size_t lineNo_ = 0;
  std::string_view raw_;  // the current line as written, without its indent
  std::string line_;      // what was decoded of it, Windows-1251
  std::string_view lastKey_ = "Формат";  // the key of the line before, as written
  Key lastKeyCode_ = Key::Format;

  enum class Block { Start, Header, SlotDef, Frame } block_ = Block::Start;
  // Header, with a new base's defaults.
  std::array<std::string, 8> head_;
  bool autoReport_ = true;
  std::array<size_t, 10> headLine_{};
  // Slot definitions.
  std::vector<SlotDefRecord> defs_;
  std::unordered_map<std::string, int> defByName_;  // first of each name
  // Frames.
  bool framesBegun_ = false;
  kbfile::ByteSink out_;
  size_t frameCountAt_ = 0;
  size_t frameCount_ = 0;
  std::unordered_map<std::string, int> frameByName_;
  std::vector<FrameInfo> frames_;
  // The frame being read.
  std::string name_;
  bool hasParent_ = false;
  std::string parent_;
  size_t parentLine_ = 0;
  Lines definition_;
  std::vector<std::pair<std::string, size_t>> own_;
  std::array<std::string, 3> messages_;
  std::vector<SlotValue> values_;
  kbfile::ByteSink valueBytes_;  // the records of values_
  size_t lastNoteAt_ = 0;        // in valueBytes_: the note of the last value
  size_t valuesCost_ = 0;        // what loading the notes and values costs
  std::vector<int> valueDefs_;   // the definitions of values_
  std::string slotName_;
  std::vector<int> defAtPosition_;  // the definition last named at each position
  // The slot name of "Значение" last read at each position, as written, and
  // its definition: the same bytes name the same definition again.
  std::vector<std::pair<std::string_view, int>> slotAtPosition_;
  std::string_view rawSlot_;  // the slot name of the current "Значение", as written
  std::vector<size_t> valueFrame_;  // per definition: the frame whose value it last got
  std::vector<size_t> valueLine_;   // and that value's line
  std::vector<std::uint64_t> inheritedStamp_;  // == stamp_: the sample has the definition
  std::uint64_t stamp_ = 0;
  kbfile::ReloadCheck reload_;
};

// Takes the next line that is not blank or a comment into raw_.
bool TextReader::NextLine() {
  while (pos_ < text_.size()) {
    size_t end = text_.find('\n', pos_);
    if (end == std::string_view::npos) end = text_.size();
    std::string_view raw = text_.substr(pos_, end - pos_);
    pos_ = end + 1;
    ++lineNo_;
    if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
    size_t first = 0;
    while (first < raw.size() && (raw[first] == ' ' || raw[first] == '\t')) ++first;
    if (first == raw.size() || raw[first] == '#') continue;
    raw_ = raw.substr(first);
    return true;
  }
  ++lineNo_;
  return false;
}

// UTF-8 to Windows-1251 into line_.
void TextReader::Decode(std::string_view utf8) {
  line_.resize(utf8.size());
  line_.resize(DecodeTo(utf8, line_.data()));
}

// UTF-8 to Windows-1251 into `out`, which has room for utf8.size() bytes;
// returns the bytes written.  A malformed sequence or a character
// Windows-1251 has no byte for is an error (written as \xHH it would be
// fine).
size_t TextReader::DecodeTo(std::string_view utf8, char* out) const {
  size_t size = 0;
  switch (textform::DecodeUtf8(utf8, out, size)) {
    case textform::DecodeResult::Ok: return size;
    case textform::DecodeResult::Malformed: Fail(W("текст не в кодировке UTF-8"));
    case textform::DecodeResult::NotInCp1251:
      Fail(W("символа нет в кодировке Windows-1251; запишите его байт как \\xHH"));
  }
  return size;
}

// Unescapes the `size` bytes at `text` in place; returns the new size.
size_t TextReader::UnescapeIn(char* text, size_t size) const {
  size_t n = textform::UnescapeInPlace(text, size);
  if (n == std::string_view::npos)
    Fail(W("неверная escape-последовательность; ожидалось \\\\, \\n, \\r, \\t или \\xHH"));
  return n;
}

void TextReader::UnescapeInto(std::string_view value, std::string& out) const {
  out.assign(value);
  out.resize(UnescapeIn(out.data(), out.size()));
}

bool TextReader::Flag(std::string_view value) const {
  if (value == W("да")) return true;
  if (value == W("нет")) return false;
  Fail(W("ожидалось «да» или «нет»"));
}

std::string TextReader::Run() {
  out_.Reserve(text_.size());
  if (!NextLine()) Fail(W("ожидалось «Формат: Norvix 1»"));
  Decode(raw_);
  if (line_ != W("Формат: Norvix 1")) Fail(W("ожидалось «Формат: Norvix 1»"));
  block_ = Block::Header;
  while (NextLine()) {
    Key key;
    std::string_view value;
    if (!FindKey(key, value)) FailEntry();
    Entry(key, value);
  }
  EndBlock();
  EmitHeadAndSlotDefs();
  out_.CountAt(frameCountAt_, frameCount_);  // the count goes before the records
  return out_.Take();
}

// Splits raw_ at its first colon into a known key and the value as written
// (less one blank after the colon); false when there is no colon or no such
// key.  An ASCII byte in UTF-8 is always that character and a key is
// well-formed UTF-8, so this finds what decoding the line first would.
// Lines mostly repeat the key of the line before (no key holds a colon).
bool TextReader::FindKey(Key& key, std::string_view& value) {
  size_t colon = lastKey_.size();
  if (raw_.size() <= colon || raw_[colon] != ':' || raw_.substr(0, colon) != lastKey_) {
    colon = raw_.find(':');
    if (colon == std::string_view::npos) return false;
    auto it = Keys().find(raw_.substr(0, colon));
    if (it == Keys().end()) return false;
    lastKey_ = it->first;
    lastKeyCode_ = it->second;
  }
  key = lastKeyCode_;
  value = raw_.substr(colon + 1);
  if (!value.empty() && value[0] == ' ') value.remove_prefix(1);
  return true;
}

// A line without a known key.  The whole line is decoded first, so that a
// malformed one is reported as such.
void TextReader::FailEntry() {
  Decode(raw_);
  size_t colon = line_.find(':');
  if (colon == std::string::npos) Fail(W("ожидалась запись вида «Ключ: значение»"));
  Fail(W("неизвестный ключ ") + Q(line_.substr(0, colon)));
}

// Decodes the value (what precedes it is a key, so the line's first
// malformed character is the value's) and hands the entry to its block.
void TextReader::Entry(Key key, std::string_view raw) {
  if (key == Key::Value && block_ == Block::Frame && KnownSlotValue(raw)) return;
  if (key == Key::Value) rawSlot_ = raw.substr(0, raw.find(" ="));
  Decode(raw);
  std::string_view value = line_;
  switch (key) {
    case Key::Slot:
      if (framesBegun_) Fail(W("слоты описываются до фреймов"));
      EndBlock();
      block_ = Block::SlotDef;
      defs_.emplace_back().name = Unescape(value);
      break;
    case Key::Prototype:
    case Key::Sample:
      EndBlock();
      BeginFrame(key == Key::Sample, Unescape(value));
      break;
    default:
      if (block_ == Block::Header) HeaderEntry(key, value);
      else if (block_ == Block::SlotDef) SlotEntry(key, value);
      else FrameEntry(key, value);
  }
}

// The usual "Значение" line: in a sample, at a position where the same
// bytes named a slot before, so they name the same definition and are
// well-formed.  Checks what FrameEntry would, in its order.  Returns false,
// having done nothing, for any other line.
bool TextReader::KnownSlotValue(std::string_view raw) {
  if (!frames_.back().sample || values_.size() >= slotAtPosition_.size()) return false;
  auto [slot, def] = slotAtPosition_[values_.size()];
  // The name holds no " =", so one right after it (its blank cannot end
  // an earlier one) is the line's first.
  size_t eq = slot.size();
  if (raw.size() < eq + 2 || raw[eq] != ' ' || raw[eq + 1] != '=' || raw.substr(0, eq) != slot)
    return false;
  std::string_view rest = raw.substr(eq + 2);
  if (!rest.empty() && rest[0] != ' ') {  // the line's characters come first
    Decode(rest);
    Fail(W("ожидалось «Значение: слот = значение»"));
  }
  AddValue(def, rest.substr(std::min<size_t>(rest.size(), 1)), false);
  return true;
}

// Adds the sample's value of definition `def`: `text` is escaped, and as
// written unless `decoded`.  Its record (slot name, empty note, value) is
// built in place, and its errors come in the order a line is checked: the
// characters, a slot given twice, the escapes.
void TextReader::AddValue(int def, std::string_view text, bool decoded) {
  auto d = static_cast<size_t>(def);
  const std::string& name = defs_[d].name;
  size_t head = 4 + name.size() + 4 + 4;
  char* record = valueBytes_.Room(head + text.size());
  char* value = record + head;
  size_t size = text.size();
  if (decoded) std::memcpy(value, text.data(), size);
  else size = DecodeTo(text, value);
  if (valueFrame_[d] == frames_.size())
    Fail(W("значение слота уже задано в строке ") + std::to_string(valueLine_[d]));
  size = UnescapeIn(value, size);
  kbfile::ByteSink::PutCount(record, name.size());
  std::memcpy(record + 4, name.data(), name.size());
  kbfile::ByteSink::PutCount(record + 4 + name.size(), 0);
  kbfile::ByteSink::PutCount(value - 4, size);
  lastNoteAt_ = valueBytes_.Size() + 4 + name.size();
  valueBytes_.Commit(head + size);
  valuesCost_ += kbfile::LoadBudget::Text(0) + kbfile::LoadBudget::Text(size);
  valueFrame_[d] = frames_.size();
  valueLine_[d] = lineNo_;
  values_.push_back(SlotValue{def, lineNo_});
}

// The note of the last value goes between its slot name and its value.
void TextReader::SetNote(std::string_view value) {
  std::string note = Unescape(value);
  std::string_view record = valueBytes_.View().substr(lastNoteAt_);
  std::uint32_t oldNote = 0;
  for (int i = 3; i >= 0; --i) oldNote = (oldNote << 8) | static_cast<unsigned char>(record[i]);
  std::string valueText(record.substr(4 + oldNote));
  valuesCost_ += kbfile::LoadBudget::Text(note.size()) - kbfile::LoadBudget::Text(oldNote);
  valueBytes_.Truncate(lastNoteAt_);
  valueBytes_.Text(note);
  valueBytes_.Bytes(valueText);
}

void TextReader::HeaderEntry(Key key, std::string_view value) {
  auto index = static_cast<size_t>(key);
  if (index < 1 || index > 9)
    Fail(W("ожидалась запись заголовка, «Слот», «Прототип» или «Экземпляр»"));
  if (headLine_[index])
    Fail(W("запись уже была в строке ") + std::to_string(headLine_[index]));
  headLine_[index] = lineNo_;
  if (key == Key::AutoReport) autoReport_ = Flag(value);
  else head_[index < 5 ? index - 1 : index - 2] = Unescape(value);
}

void TextReader::SlotEntry(Key key, std::string_view value) {
  SlotDefRecord& def = defs_.back();
  switch (key) {
    case Key::Definition: def.definition.push_back(Unescape(value)); break;
    case Key::Default: def.defaultValue = Unescape(value); break;
    case Key::ValueList: def.valueList = Flag(value); break;
    case Key::Decompose: def.decompose = Flag(value); break;
    case Key::DecomposeMsg:
      def.decomposeMsg = Unescape(value);
      def.decomposeMsgLine = lineNo_;
      break;
    default:
      Fail(W("в описании слота ожидалось «Определение», «По умолчанию», «Список значений», "
             "«Декомпозиция» или «Сообщение декомпозиции»"));
  }
}

void TextReader::FrameEntry(Key key, std::string_view value) {
  bool sample = frames_.back().sample;
  switch (key) {
    case Key::Parent:
      if (hasParent_) Fail(W("родитель уже задан"));
      hasParent_ = true;
      UnescapeInto(value, parent_);
      parentLine_ = lineNo_;
      return;
    case Key::Definition: definition_.push_back(Unescape(value)); return;
    case Key::OwnSlot: own_.emplace_back(Unescape(value), lineNo_); return;
    case Key::Offer: case Key::Confirm: case Key::Reject:
      if (!sample) break;
      UnescapeInto(value, messages_[key == Key::Offer ? 0 : key == Key::Confirm ? 1 : 2]);
      return;
    case Key::Value: {
      if (!sample) break;
      size_t eq = value.find(" =");
      if (eq == std::string_view::npos || (eq + 2 < value.size() && value[eq + 2] != ' '))
        Fail(W("ожидалось «Значение: слот = значение»"));
      UnescapeInto(value.substr(0, eq), slotName_);
      size_t position = values_.size();
      int def = DefIndexAt(position, slotName_);
      if (def < 0) Fail(W("слот ") + Q(slotName_) + W(" не описан"));
      if (slotAtPosition_.size() <= position) slotAtPosition_.resize(position + 1);
      slotAtPosition_[position] = {rawSlot_, def};
      AddValue(def, value.substr(std::min(value.size(), eq + 3)), true);
      return;
    }
    case Key::Note:
      if (!sample) break;
      if (values_.empty()) Fail(W("перед примечанием нет значения слота"));
      SetNote(value);
      return;
    default:
      Fail(W("ожидалась запись фрейма («Родитель», «Определение», «Свой слот», сообщения, "
             "«Значение», «Примечание»), «Прототип» или «Экземпляр»"));
  }
  Fail(W("у прототипа не бывает сообщений, значений и примечаний; это запись экземпляра"));
}

// Samples of one prototype name their slots in the same order, so the
// definition named last at a position is tried first.
int TextReader::DefIndexAt(size_t position, const std::string& name) {
  if (position < defAtPosition_.size()) {
    int cached = defAtPosition_[position];
    if (cached >= 0 && defs_[static_cast<size_t>(cached)].name == name) return cached;
  } else {
    defAtPosition_.resize(position + 1, -1);
  }
  return defAtPosition_[position] = DefIndex(name);
}

int TextReader::DefIndex(const std::string& name) const {
  auto it = defByName_.find(name);
  return it == defByName_.end() ? -1 : it->second;
}

void TextReader::EndBlock() {
  if (block_ == Block::SlotDef) EndSlotDef();
  if (block_ == Block::Frame) EndFrame();
}

void TextReader::EndSlotDef() {
  SlotDefRecord& def = defs_.back();
  if (!def.decompose && !def.decomposeMsg.empty()) {
    lineNo_ = def.decomposeMsgLine;
    Fail(W("сообщение декомпозиции бывает только у слота с «Декомпозиция: да»"));
  }
  defByName_.emplace(def.name, static_cast<int>(defs_.size() - 1));
}

void TextReader::EmitHeadAndSlotDefs() {
  if (framesBegun_) return;
  framesBegun_ = true;
  if (!headLine_[static_cast<size_t>(Key::Invitation)]) head_[5] = W("Диалог:");
  if (!headLine_[static_cast<size_t>(Key::Success)]) head_[6] = W("Найдено решение:");
  if (!headLine_[static_cast<size_t>(Key::Failure)]) head_[7] = W("Решений не найдено.");
  out_.Bytes({kbfile::kMagic, 3});
  out_.Byte(static_cast<char>(kbfile::kVersionWritten));
  for (size_t i = 0; i < 4; ++i) out_.Text(head_[i]);
  out_.Byte(static_cast<char>(autoReport_ ? kbfile::kAutoReportBit : 0));
  for (size_t i = 4; i < 8; ++i) out_.Text(head_[i]);
  reload_.Header(head_);
  out_.Bytes({kbfile::kSlotDefSection, 2});
  out_.Count(defs_.size());
  for (const SlotDefRecord& d : defs_) {
    std::string definition = JoinLines(d.definition);
    reload_.SlotDef(d.name, definition, d.defaultValue, d.valueList, d.decompose, d.decomposeMsg);
    out_.Text(d.name);
    out_.Text(definition);
    out_.Text(d.defaultValue);
    out_.Byte(static_cast<char>((d.valueList ? kbfile::kValueListBit : 0) |
                                (d.decompose ? kbfile::kDecomposeBit : 0)));
    if (d.decompose) out_.Text(d.decomposeMsg);
  }
  out_.Bytes({kbfile::kFrameSection, 2});
  valueFrame_.assign(defs_.size(), 0);  // frames count from 1
  valueLine_.assign(defs_.size(), 0);
  frameCountAt_ = out_.Size();
  out_.Count(0);
}

void TextReader::BeginFrame(bool sample, std::string name) {
  EmitHeadAndSlotDefs();
  if (auto it = frameByName_.find(name); it != frameByName_.end())
    Fail(W("фрейм ") + Q(name) + W(" уже описан в строке ") +
         std::to_string(frames_[static_cast<size_t>(it->second)].line));
  block_ = Block::Frame;
  name_ = std::move(name);
  hasParent_ = false;
  parent_.clear();
  definition_.clear();
  own_.clear();
  for (std::string& m : messages_) m.clear();
  values_.clear();
  valueBytes_.Truncate(0);
  valuesCost_ = 0;
  frames_.push_back(FrameInfo{-1, sample, {}, lineNo_});
}

// Checks the frame's links and writes its record.
void TextReader::EndFrame() {
  FrameInfo& info = frames_.back();
  size_t endLine = lineNo_;
  if (hasParent_) {
    lineNo_ = parentLine_;
    auto it = frameByName_.find(parent_);
    if (it == frameByName_.end()) Fail(W("родитель ") + Q(parent_) + W(" не описан выше"));
    if (frames_[static_cast<size_t>(it->second)].sample)
      Fail(W("родитель ") + Q(parent_) + W(" - экземпляр, а у экземпляра не бывает потомков"));
    info.parent = it->second;
  }
  for (auto& [slot, line] : own_) {
    lineNo_ = line;
    int def = DefIndex(slot);
    if (def < 0) Fail(W("слот ") + Q(slot) + W(" не описан"));
    info.own.push_back(def);
  }
  if (info.sample) {
    ++stamp_;
    inheritedStamp_.resize(defs_.size());
    for (const FrameInfo* f = &info; f;
         f = f->parent < 0 ? nullptr : &frames_[static_cast<size_t>(f->parent)])
      for (int d : f->own) inheritedStamp_[static_cast<size_t>(d)] = stamp_;
    for (const SlotValue& v : values_) {
      lineNo_ = v.line;
      if (inheritedStamp_[static_cast<size_t>(v.def)] != stamp_)
        Fail(W("слот ") + Q(defs_[static_cast<size_t>(v.def)].name) + W(" не относится к экземпляру ") +
             Q(name_) + W(": его нет ни у экземпляра, ни у его предков"));
    }
  }
  lineNo_ = endLine;
  frameByName_.emplace(name_, static_cast<int>(frames_.size() - 1));

  std::string definition = JoinLines(definition_);
  reload_.Frame(info.parent, name_, definition, info.own);
  out_.Text(name_);
  out_.Text(definition);
  out_.Byte(hasParent_ ? kbfile::kHasParent : kbfile::kRoot);
  if (hasParent_) out_.Text(parent_);
  out_.Count(own_.size());
  for (auto& [slot, line] : own_) out_.Text(slot);
  ++frameCount_;
  if (!info.sample) {
    out_.Byte(kbfile::kPrototype);
    return;
  }
  out_.Byte(kbfile::kSample);
  valueDefs_.clear();
  for (const SlotValue& v : values_) valueDefs_.push_back(v.def);
  reload_.Sample(messages_, valueDefs_, valuesCost_);
  for (const std::string& m : messages_) out_.Text(m);
  out_.Count(values_.size());
  out_.Bytes(valueBytes_.View());
}

// TextToFileBytes, telling in `savesBack` whether loading the bytes and
// saving the base gives them back.
bool ReadText(std::string_view text, std::string& bytes, bool& savesBack, std::string& error) {
  try {
    TextReader reader(text);
    bytes = reader.Run();
    savesBack = reader.SavesBack(bytes.size());
    return true;
  } catch (const TextError& e) {
    error = e.message;
    return false;
  }
}

// Loads the bytes a text was read into; what the loader reports is the
// text's error.
bool LoadTextBytes(std::string_view bytes, AKBase& kb, std::string& error) {
  std::string shown;
  bool loaded;
  {
    ScopedErrorSink sink([&shown](const std::string& m) { if (shown.empty()) shown = m; });
    loaded = kb.LoadFromBytes(bytes);
  }
  if (loaded && shown.empty()) return true;
  error = W("текст описывает базу, которую нельзя загрузить: ") + shown;
  return false;
}

}  // namespace

bool TextToFileBytes(std::string_view text, std::string& bytes, std::string& error) {
  bool savesBack = false;
  return ReadText(text, bytes, savesBack, error);
}

bool ImportText(std::string_view text, AKBase& kb, std::string& error) {
  std::string bytes;
  bool savesBack = false;
  return ReadText(text, bytes, savesBack, error) && LoadTextBytes(bytes, kb, error);
}

bool ImportTextToFileBytes(std::string_view text, std::string& bytes, std::string& error) {
  bool savesBack = false;
  if (!ReadText(text, bytes, savesBack, error)) return false;
  if (savesBack) return true;
  AKBase kb;
  if (!LoadTextBytes(bytes, kb, error)) return false;
  bytes = kb.SaveToBytes();
  return true;
}

}  // namespace norvix
