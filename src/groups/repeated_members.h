// Members that a group or locus set lists more than once. Every way into the lists (the block
// reader, the Group Manager) keeps each member once and says so, so no selection, analysis or
// export meets a member twice.
#pragma once

#include <string>
#include <vector>

#include "core/group_lists.h"

namespace vorn {

struct RepeatedMember {
  std::string entry;
  std::string member;
  bool operator==(const RepeatedMember&) const = default;
};

// Keeps the first of each member of entry, in their order; each member that was listed more than
// once is added to repeated (once).
void KeepEachMemberOnce(GroupEntry& entry, std::vector<RepeatedMember>& repeated);

// The warning naming the first five repeated members with their entries and counting them; ""
// when there are none.
std::string RepeatedMembersNotice(const std::vector<RepeatedMember>& repeated);

}  // namespace vorn
