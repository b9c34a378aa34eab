// What the frame browser windows need from the environment's main window.
#pragma once
#include <QObject>
#include <QString>
class QWidget;
namespace velloq_windows {
class LispRunner {
 public:
  virtual ~LispRunner() = default;
  virtual void run_lisp(const std::string& text) = 0;   // Windows-1251 Lisp text through the top level
  virtual bool busy() const = 0;                        // an evaluation runs: do not read node memory
};
}
