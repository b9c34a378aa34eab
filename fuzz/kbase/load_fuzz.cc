// Fuzz target of the knowledge base reader.  Any input must load or fail
// cleanly; a base that loads must save and load again to the same bytes;
// and a consultation over it, answered from the input's own bytes, must end.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine.h"
#include "error_sink.h"
#include "kbase.h"

namespace {

// Answers yes or no from the input's bytes in turn; cancels after a fixed
// number of questions so every run ends.
class ByteHost : public norvix::EngineHost {
 public:
  ByteHost(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  void PrintLine(const std::string&) override {}
  norvix::Reply Ask(const std::string&) override {
    if (asked_++ >= 2000 || size_ == 0) return norvix::Reply::Cancel;
    uint8_t b = data_[asked_ % size_];
    return (b & 1) ? norvix::Reply::Yes : norvix::Reply::No;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t asked_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  norvix::ScopedErrorSink quiet([](const std::string&) {});
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  norvix::AKBase kb;
  if (!kb.LoadFromBytes(bytes)) return 0;

  std::string saved = kb.SaveToBytes();
  norvix::AKBase again;
  if (!again.LoadFromBytes(saved) || again.SaveToBytes() != saved) __builtin_trap();

  ByteHost host(data, size);
  norvix::Engine engine(host);
  engine.RunConsultation(kb);
  engine.Tree().Outline();
  return 0;
}
