#include "groups/repeated_members.h"

#include <unordered_set>
#include <utility>

namespace vorn {

void KeepEachMemberOnce(GroupEntry& entry, std::vector<RepeatedMember>& repeated) {
  std::unordered_set<std::string> kept, told;
  std::vector<std::string> members;
  for (std::string& member : entry.members) {
    if (kept.insert(member).second) {
      members.push_back(std::move(member));
    } else if (told.insert(member).second) {
      repeated.push_back(RepeatedMember{entry.name, member});
    }
  }
  entry.members = std::move(members);
}

std::string RepeatedMembersNotice(const std::vector<RepeatedMember>& repeated) {
  constexpr std::size_t kShown = 5;
  if (repeated.empty()) return "";
  std::string notice = "A member listed more than once in a group or locus set is counted once: ";
  for (std::size_t k = 0; k < repeated.size() && k < kShown; ++k) {
    notice += (k > 0 ? ", \"" : "\"") + repeated[k].member + "\" in " + repeated[k].entry;
  }
  if (repeated.size() > kShown) notice += ", and " + std::to_string(repeated.size() - kShown) + " more";
  const std::size_t count = repeated.size();
  return notice + " (" + std::to_string(count) + (count == 1 ? " repeated member)." : " repeated members).");
}

}  // namespace vorn
