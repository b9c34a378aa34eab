// Hand-written knowledge base files: a builder of the file's bytes and
// helpers that write them to a scratch file.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

namespace norvix::test {

class Bytes {
 public:
  Bytes& raw(std::string_view s) {
    bytes_ += s;
    return *this;
  }
  Bytes& byte(unsigned char b) {
    bytes_ += static_cast<char>(b);
    return *this;
  }
  Bytes& count(std::int64_t n) {
    auto v = static_cast<std::uint32_t>(n);
    for (int i = 0; i < 4; ++i) byte(static_cast<unsigned char>(v >> (8 * i)));
    return *this;
  }
  Bytes& text(std::string_view s) { return count(static_cast<std::int64_t>(s.size())).raw(s); }
  // Magic, version and the header texts of a base with the default
  // dialog texts and the given target.
  Bytes& header(unsigned char version = 2, std::string_view target = "");
  const std::string& str() const { return bytes_; }

 private:
  std::string bytes_;
};

// A scratch folder removed at the end of the test.
class ScratchDir {
 public:
  ScratchDir() {
    path_ = std::filesystem::temp_directory_path() /
            ("kbase_test_" + std::to_string(::getpid()) + "_" + std::to_string(counter()++));
    std::filesystem::create_directories(path_);
  }
  ~ScratchDir() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
  }
  std::string file(const std::string& name) const { return (path_ / name).string(); }
  std::string write(const std::string& name, const std::string& bytes) const {
    std::ofstream(file(name), std::ios::binary) << bytes;
    return file(name);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  static int& counter() {
    static int n = 0;
    return n;
  }
  std::filesystem::path path_;
};

inline std::string readAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace norvix::test
