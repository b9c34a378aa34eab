#include "teach_commands.h"

#include "atomic_file.h"
#include "checker.h"
#include "cp1251.h"
#include "engine_messages.h"
#include "error_sink.h"
#include "kbase_text.h"

namespace norvix {

namespace {

// Writes "Ошибка: " and a Windows-1251 message in the terminal's encoding.
void WriteError(std::ostream& err, const std::string& message) {
  err << cp1251::toLocale(msg::kErrorPrefix + message) << '\n';
  err.flush();
}

// Loads `file`, the load's messages going to `err`.
bool Load(AKBase& kb, const std::string& file, std::ostream& err) {
  ScopedErrorSink sink([&err](const std::string& message) { WriteError(err, message); });
  return kb.LoadFromFile(file);
}

}  // namespace

int RunCheckCommand(const std::string& file, std::ostream& out, std::ostream& err) {
  AKBase kb;
  if (!Load(kb, file, err)) return 2;
  std::vector<Finding> findings = CheckKnowledgeBase(kb);
  for (const Finding& f : findings)
    out << cp1251::toLocale("[" + KindLabel(f.kind) + "] " + f.text) << '\n';
  if (findings.empty())
    out << cp1251::toLocale(cp1251::fromUtf8("Замечаний нет.")) << '\n';
  else
    out << cp1251::toLocale(cp1251::fromUtf8("Замечаний: ")) << findings.size() << '\n';
  out.flush();
  return findings.empty() ? 0 : 1;
}

int RunExportCommand(const std::string& file, std::ostream& out, std::ostream& err) {
  AKBase kb;
  if (!Load(kb, file, err)) return 2;
  out << ExportText(kb);
  out.flush();
  return 0;
}

int RunImportCommand(const std::string& textFile, const std::string& outFile, std::ostream& err) {
  std::string text, cause;
  if (!fileio::readFile(textFile, text, &cause)) {
    WriteError(err, cp1251::fromUtf8("невозможно прочитать ") + textFile + ": " + cause);
    return 2;
  }
  std::string bytes, error;
  if (!ImportTextToFileBytes(text, bytes, error)) {
    WriteError(err, textFile + ": " + error);
    return 2;
  }
  text = std::string();  // no longer needed while the file is written
  ScopedErrorSink sink([&err](const std::string& message) { WriteError(err, message); });
  if (!SaveFileBytes(outFile, bytes, &cause)) {
    err << outFile << ": " << cause << '\n';
    return 2;
  }
  return 0;
}

}  // namespace norvix
