// The result tree of a consultation: one line of text a node.  The engine
// builds it; the results window and the console show it.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace norvix {

struct ResultNode {
  std::string Text;
  ResultNode* Parent = nullptr;  // nullptr for a root
  std::vector<std::unique_ptr<ResultNode>> Children;
};

class ResultTree {
 public:
  // Appends a node with `text` under `parent` (a root when nullptr) and
  // returns it.  Nodes stay at their address until Clear.
  ResultNode* AddChild(ResultNode* parent, const std::string& text);
  void Clear() { roots_.clear(); }
  const std::vector<std::unique_ptr<ResultNode>>& Roots() const { return roots_; }

  // One node a line, depth first, each indented by `indent` blanks per level
  // below the roots.
  std::vector<std::string> Outline(int indent = 2) const;

 private:
  std::vector<std::unique_ptr<ResultNode>> roots_;
};

}  // namespace norvix
