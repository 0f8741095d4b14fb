// The individuals of the working matrix that groups list: the populations of one level of the
// hierarchy, each resolved to positions in the data, for the analyses that compare populations.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/group_lists.h"
#include "core/label_table.h"
#include "core/result.h"

namespace vorn {

// One group's members as positions among the labels (ascending; a label listed twice in the data
// counts with each of its individuals).
struct PopulationMembers {
  std::size_t groupIndex = 0;
  std::string name;
  std::vector<std::uint32_t> individuals;
};

// The members of groups[index]. Fails naming a member that labels no individual of the data.
Result<PopulationMembers> MembersOf(const LabelTable& labels, const GroupList& groups, std::size_t index);

// The groups of level (1 = the depth-2 groups below AllData), in list order, each resolved as
// MembersOf does. Fails as MembersOf does, and names a population without members.
Result<std::vector<PopulationMembers>> PopulationsOfLevel(const LabelTable& labels, const GroupList& groups,
                                                          std::size_t level);

}  // namespace vorn
