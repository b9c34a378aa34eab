#include "console_consult.h"

#include "console_host.h"
#include "cp1251.h"
#include "engine_messages.h"
#include "error_sink.h"

namespace norvix {

int RunConsoleConsultation(const std::string& file, std::istream& in, std::ostream& out,
                           std::ostream& err) {
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
  if (engine.RunConsultation(kb) != Outcome::Success) return 1;
  host.PrintLine(msg::kSynthesisResults);
  for (const std::string& line : engine.Tree().Outline(2)) host.PrintLine(line);
  return 0;
}

}  // namespace norvix
