#include "groups/group_members.h"

#include <unordered_map>

#include "groups/group_model.h"

namespace vorn {

Result<PopulationMembers> MembersOf(const LabelTable& labels, const GroupList& groups, std::size_t index) {
  std::unordered_multimap<std::string, std::uint32_t> individualOf;
  for (std::size_t i = 0; i < labels.Count(); ++i) individualOf.emplace(labels[i], static_cast<std::uint32_t>(i));
  const GroupEntry& entry = groups[index];
  std::vector<std::uint8_t> found(labels.Count(), 0);
  for (const std::string& member : entry.members) {
    const auto [first, last] = individualOf.equal_range(member);
    if (first == last) return Failure{"\"" + member + "\" of the group " + entry.name + " is not an individual of the data."};
    for (auto it = first; it != last; ++it) found[it->second] = 1;
  }
  PopulationMembers result{index, entry.name, {}};
  for (std::uint32_t i = 0; i < found.size(); ++i) {
    if (found[i]) result.individuals.push_back(i);
  }
  return result;
}

Result<std::vector<PopulationMembers>> PopulationsOfLevel(const LabelTable& labels, const GroupList& groups,
                                                          std::size_t level) {
  std::vector<PopulationMembers> populations;
  for (std::size_t g = 1; g < groups.size(); ++g) {
    if (Depth(groups[g].name) != level + 1) continue;
    auto members = MembersOf(labels, groups, g);
    if (!members) return Failure{members.error()};
    if (members->individuals.empty()) return Failure{"The population " + groups[g].name + " has no members."};
    populations.push_back(std::move(*members));
  }
  return populations;
}

}  // namespace vorn
