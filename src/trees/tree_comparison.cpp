#include "trees/tree_comparison.h"

#include <bit>

#include "core/progress.h"

namespace vorn {

TreeComparison NaturalComparison(const NewickTree& tree) {
  return tree.Root().children.size() >= 3 ? TreeComparison::Splits : TreeComparison::Clusters;
}

TreeComparison NaturalComparison(const std::vector<std::string>& trees) {
  if (trees.empty()) return TreeComparison::Clusters;
  for (const std::string& text : trees) {
    KeepResponsive();
    const auto tree = ReadNewick(text);
    if (!tree || NaturalComparison(*tree) == TreeComparison::Clusters) return TreeComparison::Clusters;
  }
  return TreeComparison::Splits;
}

std::size_t MemberCount(const std::vector<std::uint64_t>& members) {
  std::size_t count = 0;
  for (std::uint64_t word : members) count += static_cast<std::size_t>(std::popcount(word));
  return count;
}

bool ToSplitSide(std::vector<std::uint64_t>& members, std::size_t otuCount) {
  if (members.empty()) return false;
  if (members.front() & 1) {
    for (std::uint64_t& word : members) word = ~word;
    if (const std::size_t rest = otuCount % 64; rest != 0) members.back() &= (std::uint64_t{1} << rest) - 1;
  }
  const std::size_t size = MemberCount(members);
  return size >= 2 && size + 2 <= otuCount;
}

}  // namespace vorn
