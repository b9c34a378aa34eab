#include "result_tree.h"

namespace norvix {

ResultNode* ResultTree::AddChild(ResultNode* parent, const std::string& text) {
  auto node = std::make_unique<ResultNode>();
  node->Text = text;
  node->Parent = parent;
  auto& siblings = parent ? parent->Children : roots_;
  siblings.push_back(std::move(node));
  return siblings.back().get();
}

// Iterative, so a deep tree cannot overflow the stack.
std::vector<std::string> ResultTree::Outline(int indent) const {
  std::vector<std::string> lines;
  std::vector<std::pair<const ResultNode*, size_t>> stack;
  for (auto it = roots_.rbegin(); it != roots_.rend(); ++it) stack.emplace_back(it->get(), 0);
  while (!stack.empty()) {
    auto [node, level] = stack.back();
    stack.pop_back();
    lines.push_back(std::string(level * static_cast<size_t>(indent), ' ') + node->Text);
    for (auto it = node->Children.rbegin(); it != node->Children.rend(); ++it)
      stack.emplace_back(it->get(), level + 1);
  }
  return lines;
}

}  // namespace norvix
