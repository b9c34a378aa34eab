#include "console_consult.h"

#include "console_host.h"
#include "cp1251.h"
#include "engine_messages.h"
#include "error_sink.h"
#include "explanation.h"

namespace norvix {

int RunConsoleConsultation(const std::string& file, std::istream& in, std::ostream& out,
                           std::ostream& err, bool explain) {
  auto toErr = [&err](const std::string& message) {
    err << cp1251::toLocale(msg::kErrorPrefix + message) << '\n';
    err.flush();
  };
  ScopedErrorSink sink(toErr);
  AKBase kb;
  if (!kb.LoadFromFile(file)) return 2;
  if (kb.TargetFrame.empty()) {
    toErr(msg::kNoTarget);
    return 2;
  }
  ConsoleHost host(in, out);
  Engine engine(host);
  host.SetEngine(&engine);
  bool found = engine.RunConsultation(kb) == Outcome::Success;
  if (found) {
    host.PrintLine(msg::kSynthesisResults);
    for (const std::string& line : engine.Tree().Outline(2)) host.PrintLine(line);
  }
  if (explain)
    for (const std::string& line : ExplanationLines(Explain(engine.Log(), engine.Tree())))
      host.PrintLine(line);
  return found ? 0 : 1;
}

}  // namespace norvix
