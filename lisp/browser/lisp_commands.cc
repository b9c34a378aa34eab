// The Lisp texts of the browser windows.
#include "lisp_commands.h"

#include <cstdlib>

namespace velloq_browser {

namespace {

bool plainConstituent(unsigned char c) {
  if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || (c >= 192 && c <= 223)) return true;
  static const char kOthers[] = "-_*+/<>=!?$%&.@~";
  for (const char* p = kOthers; *p; ++p)
    if (c == static_cast<unsigned char>(*p)) return true;
  return false;
}

// A name the reader would take for a number ("12", "-3", "1.5", "1E3").
bool looksNumeric(const std::string& name) {
  char* end = nullptr;
  std::strtod(name.c_str(), &end);
  return end && *end == '\0';
}

}  // namespace

std::string lispName(const std::string& name) {
  bool bare = !name.empty() && name[0] != '.' && name[0] != ':' && !looksNumeric(name);
  for (unsigned char c : name)
    if (!plainConstituent(c)) bare = false;
  if (bare) return name;
  std::string out = "|";
  for (char c : name) {
    if (c == '|' || c == '\\') out += '\\';
    out += c;
  }
  return out + "|";
}

std::string addChildText(const std::string& parent) {
  return "(ADDCHILD '" + lispName(parent) + ")\n";
}

std::string addNamedChildText(const std::string& parent, const std::string& name) {
  if (parent == "FRAME") return "(ADDFRAME '" + lispName(name) + ")\n";
  return "(PROGN (ADDFRAME '" + lispName(name) + ") (SETPARENTS " + lispName(name) + " " +
         lispName(parent) + "))\n";
}

std::string deleteFramesText(const std::vector<std::string>& deepestFirst) {
  std::string text = "(PROGN";
  for (const std::string& n : deepestFirst) text += " (DELFRAME '" + lispName(n) + ")";
  return text + ")\n";
}

std::string setParentsText(const std::string& frame, const std::string& parent) {
  return "(SETPARENTS " + lispName(frame) + " " + lispName(parent) + ")\n";
}

std::string setSlotValueText(const std::string& frame, const std::string& slot,
                             const std::string& form) {
  const std::string f = lispName(frame), s = lispName(slot);
  return "(PROGN (ADDSLOT " + f + " '" + s + ") (SETSLOTVALUE " + f + " '" + s + " " + form +
         "\n))\n";
}

std::string assignSlotText(const std::string& frame, const std::string& slot,
                           const std::string& form) {
  return "(SETSLOTVALUE " + lispName(frame) + " '" + lispName(slot) + " " + form + "\n)\n";
}

std::string addSlotText(const std::string& frame, const std::string& slot) {
  return "(ADDSLOT " + lispName(frame) + " '" + lispName(slot) + ")\n";
}

std::string deleteSlotText(const std::string& frame, const std::string& slot) {
  return "(DELSLOT " + lispName(frame) + " '" + lispName(slot) + ")\n";
}

std::string methodText(const std::string& frame, const std::string& slot,
                       const std::string& parameters, const std::string& body) {
  std::string text = "(DEFUN " + lispName(frame) + "^" + lispName(slot) + " " +
                     (parameters.empty() ? std::string("()") : parameters);
  size_t start = 0;
  while (start < body.size()) {
    size_t end = body.find('\n', start);
    if (end == std::string::npos) end = body.size();
    text += "\n  " + body.substr(start, end - start);
    start = end + 1;
  }
  return text + ")";
}

std::string asRunText(const std::string& text) {
  if (!text.empty() && text.back() == '\n') return text;
  return text + "\n";
}

}  // namespace velloq_browser
