#include "trees/tree_label_kinds.h"

#include <algorithm>
#include <unordered_map>

#include "trees/tree_text.h"

namespace vorn {

std::string TreeLabel(std::string_view treeText) {
  const std::string text = NormaliseTreeText(treeText);
  const std::size_t end = std::min(text.find(';'), text.size());
  const std::size_t lastClose = end == 0 ? std::string::npos : text.rfind(')', end - 1);
  if (lastClose == std::string::npos) return "";
  return text.substr(lastClose + 1, end - lastClose - 1);
}

std::vector<LabelKind> LabelKinds(const std::vector<std::string>& trees) {
  std::vector<LabelKind> kinds;
  std::unordered_map<std::string, std::size_t> byStem;
  for (const std::string& tree : trees) {
    std::string label = TreeLabel(tree);
    std::string stem = label.substr(0, label.find_last_not_of("0123456789") + 1);
    const auto [found, added] = byStem.emplace(stem, kinds.size());
    if (added) kinds.push_back(LabelKind{std::move(stem), 0, label, label});
    LabelKind& kind = kinds[found->second];
    ++kind.trees;
    kind.last = std::move(label);
  }
  return kinds;
}

std::string MixedLabelsWarning(const std::vector<std::string>& trees, std::string_view fileName) {
  const std::vector<LabelKind> kinds = LabelKinds(trees);
  if (kinds.size() < 2) return "";
  constexpr std::size_t kNamed = 5;
  std::string text = "The trees of " + std::string(fileName) + " come from different analyses: ";
  for (std::size_t k = 0; k < kinds.size() && k < kNamed; ++k) {
    const LabelKind& kind = kinds[k];
    if (k > 0) text += ", ";
    text += std::to_string(kind.trees) + (kind.trees == 1 ? " tree " : " trees ");
    if (kind.first.empty()) {
      text += "without a label";
      continue;
    }
    text += "labelled " + kind.first;
    if (kind.last != kind.first) text += " to " + kind.last;
  }
  if (kinds.size() > kNamed) text += " and " + std::to_string(kinds.size() - kNamed) + " kinds more";
  text += ".\r\nThe consensus counts them all alike. To count the trees of one analysis only, keep them in a "
          "file of their own (File > Select File Names).";
  return text;
}

}  // namespace vorn
