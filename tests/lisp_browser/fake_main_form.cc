// The stand-in main window of the browser tests.
// The interpreter's headers come before Qt's, whose `slots` keyword would
// rename a member of the node record.
#include "streams.h"
#include "toplevel.h"

#include "fake_main_form.h"

#include <cstdlib>

#include "qt_text.h"

namespace {

void writeChar(void* self, int c, bool) { static_cast<FakeMainForm*>(self)->output_.push_back(char(c)); }
void writeString(void* self, const char* s, bool) { static_cast<FakeMainForm*>(self)->output_ += s; }

}  // namespace

FakeMainForm::FakeMainForm() {
  velloq::console = velloq::ConsoleIO{};
  velloq::console.context = this;
  velloq::console.write_char = writeChar;
  velloq::console.write_string = writeString;
  if (!velloq::start_interpreter()) std::abort();  // nothing can be tested without it
  velloq::set_frame_events(this);
  output_.clear();
}

FakeMainForm::~FakeMainForm() {
  velloq::set_frame_events(nullptr);
  velloq::stop_interpreter();
  velloq::console = velloq::ConsoleIO{};
}

void FakeMainForm::run_lisp(const std::string& text) {
  texts_.push_back(text);
  busy_ = true;
  int more = 0;
  velloq::evaluate_top_level_text(text.c_str(), &more);
  busy_ = false;
  emit endBusy();
}

void FakeMainForm::runEach(const std::vector<std::string>& texts) {
  for (const std::string& t : texts) run_lisp(t + "\n");
}

std::string FakeMainForm::takeOutput() {
  std::string out;
  out.swap(output_);
  return out;
}

void FakeMainForm::frame_added(const char* name) {
  ++notifications_;
  emit frameAdded(cp1251::toQString(name));
}

void FakeMainForm::frame_removed(const char* name) {
  ++notifications_;
  emit frameRemoved(cp1251::toQString(name));
}

void FakeMainForm::parent_changed(const char* name, const char* parent) {
  ++notifications_;
  emit parentChanged(cp1251::toQString(name), cp1251::toQString(parent));
}
