// Writing the text form of a knowledge base.  One pass over the model into
// one buffer; every byte goes through a table that holds its UTF-8 form or
// its escape, since a large base has millions of values.
#include <array>

#include "cp1251.h"
#include "kbase_text.h"

namespace norvix {

namespace {

// What each Windows-1251 byte becomes in a value.
const std::array<std::string, 256>& ByteForms() {
  static const std::array<std::string, 256> forms = [] {
    std::array<std::string, 256> f;
    for (int b = 0; b < 256; ++b) {
      auto byte = static_cast<unsigned char>(b);
      if (b == '\\') f[b] = "\\\\";
      else if (b == '\n') f[b] = "\\n";
      else if (b == '\r') f[b] = "\\r";
      else if (b == '\t') f[b] = "\\t";
      else if (b < 0x20 || b == 0x7F || b == 0x98) {
        static const char hex[] = "0123456789ABCDEF";
        f[b] = std::string("\\x") + hex[b >> 4] + hex[b & 15];
      } else {
        f[b] = cp1251::toUtf8(std::string_view(reinterpret_cast<const char*>(&byte), 1));
      }
    }
    return f;
  }();
  return forms;
}

class TextWriter {
 public:
  explicit TextWriter(size_t reserve) { out_.reserve(reserve); }

  // "key: value" with the value escaped; `key` is UTF-8 with its indent.
  void Entry(const char* key, std::string_view value) {
    out_ += key;
    out_ += ':';
    if (!value.empty()) {
      out_ += ' ';
      Value(value, false);
    }
    out_ += '\n';
  }
  void Flag(const char* key, bool on) { Entry(key, on ? kYes() : kNo()); }
  // "  Значение: SLOT = VALUE"; "=" in the slot name is escaped.
  void SlotValue(std::string_view slot, std::string_view value) {
    out_ += "  Значение: ";
    Value(slot, true);
    out_ += value.empty() ? " =" : " = ";
    Value(value, false);
    out_ += '\n';
  }
  void Raw(std::string_view text) { out_ += text; }
  std::string Take() { return std::move(out_); }

 private:
  static const std::string& kYes() {
    static const std::string yes = cp1251::fromUtf8("да");
    return yes;
  }
  static const std::string& kNo() {
    static const std::string no = cp1251::fromUtf8("нет");
    return no;
  }
  void Value(std::string_view value, bool escapeEquals) {
    const auto& forms = ByteForms();
    for (size_t i = 0; i < value.size(); ++i) {
      auto b = static_cast<unsigned char>(value[i]);
      if (b >= 0x20 && b < 0x7F && b != '\\' && !(escapeEquals && b == '=') &&
          !(b == ' ' && i + 1 == value.size()))
        out_ += static_cast<char>(b);
      else if (b == '=' || b == ' ')
        out_ += b == '=' ? "\\x3D" : "\\x20";
      else
        out_ += forms[b];
    }
  }
  std::string out_;
};

void WriteLines(TextWriter& w, const char* key, const Lines& lines) {
  for (const std::string& line : lines) w.Entry(key, line);
}

void WriteHeader(TextWriter& w, const AKBase& kb) {
  w.Raw("# База знаний Norvix в текстовом виде (UTF-8). Записи «Ключ: значение»;\n"
        "# \\n, \\r, \\t, \\\\ и \\xHH в значениях - управляющие символы и байты.\n");
  w.Raw("Формат: Norvix 1\n");
  w.Entry("Проект", kb.ProjectName);
  w.Entry("Назначение", kb.Purpose);
  w.Entry("Предметная область", kb.Subject);
  w.Entry("Автор", kb.Author);
  w.Flag("Автоотчет", kb.AutoReport);
  w.Entry("Целевой фрейм", kb.TargetFrame);
  w.Entry("Приглашение", kb.Invitation);
  w.Entry("Успех", kb.SuccessMsg);
  w.Entry("Неудача", kb.FailMsg);
}

void WriteSlotDef(TextWriter& w, const ASlotDef& def) {
  w.Raw("\n");
  w.Entry("Слот", def.Name());
  WriteLines(w, "  Определение", def.Definition);
  if (!def.DefaultValue.empty()) w.Entry("  По умолчанию", def.DefaultValue);
  if (def.IsValueList) w.Flag("  Список значений", true);
  if (def.Decompose) w.Flag("  Декомпозиция", true);
  if (def.Decompose && !def.DecomposeMsg.empty())
    w.Entry("  Сообщение декомпозиции", def.DecomposeMsg);
}

void WriteFrame(TextWriter& w, const AFrame& f) {
  w.Raw("\n");
  w.Entry(f.IsSample ? "Экземпляр" : "Прототип", f.Name());
  if (f.Parent) w.Entry("  Родитель", f.Parent->Name());
  WriteLines(w, "  Определение", f.Definition);
  for (const ASlotDef* def : f.OwnSlotDefs) w.Entry("  Свой слот", def->Name());
  if (!f.IsSample) return;
  if (!f.OfferMsg.empty()) w.Entry("  При рассмотрении", f.OfferMsg);
  if (!f.SuccessMsg.empty()) w.Entry("  При подтверждении", f.SuccessMsg);
  if (!f.FailMsg.empty()) w.Entry("  При отсечении", f.FailMsg);
  for (const ASlot& slot : f.Slots) {
    w.SlotValue(slot.Def->Name(), slot.Value);
    if (!slot.Note.empty()) w.Entry("  Примечание", slot.Note);
  }
}

}  // namespace

std::string ExportText(const AKBase& kb) {
  size_t estimate = 4096;
  for (const auto& f : kb.Frames()) estimate += 64 + f->Slots.size() * 48;
  TextWriter w(estimate);
  WriteHeader(w, kb);
  for (const auto& def : kb.SlotDefs()) WriteSlotDef(w, *def);
  for (const auto& root : kb.Frames()) {
    if (root->Parent) continue;
    WriteFrame(w, *root);
    ForEachDescendant(root.get(), [&w](AFrame* f) {
      WriteFrame(w, *f);
      return true;
    });
  }
  return w.Take();
}

}  // namespace norvix
