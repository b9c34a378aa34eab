// The one record kind of the project records program.
#pragma once

#include <string>

namespace projbase {

// A project record: three Windows-1251 texts, any bytes, empty allowed.
struct Knolbase {
  std::string name;        // project name
  std::string technology;  // manufacturing technology
  std::string code;        // project code

  bool operator==(const Knolbase&) const = default;
};

}  // namespace projbase
