#include "groups/group_model.h"

#include <algorithm>
#include <utility>

#include "core/text_encoding.h"

namespace vorn {
namespace {

GroupEntry EntryOfAll(std::string_view name, const LabelTable& labels) {
  return GroupEntry{std::string(name), labels.All(), false};
}

void ReplaceFirst(GroupList& list, GroupList&& built) {
  if (list.empty()) {
    list = std::move(built);
  } else {
    list[0].name = std::move(built[0].name);
    list[0].members = std::move(built[0].members);
  }
}

}  // namespace

Status BuildAllData(const DataMatrix& data, GroupList& groups) {
  if (data.individualLabels.Count() != data.individualCount) {
    groups = {GroupEntry{std::string(kAllData), {}, false}};
    return Failure{"Serious data inconsistency error: Indiv labels do not match data"};
  }
  groups = {EntryOfAll(kAllData, data.individualLabels)};
  return Success();
}

Status BuildAllLoci(const DataMatrix& data, GroupList& locusSets) {
  if (data.locusLabels.Count() != data.locusCount) {
    return Failure{"Serious data inconsistency error: Locus labels do not match data"};
  }
  locusSets = {EntryOfAll(kAllLoci, data.locusLabels)};
  return Success();
}

Status RenewImplicitEntries(const DataMatrix& data, GroupState& state) {
  GroupList allData, allLoci;
  const Status groups = BuildAllData(data, allData);
  const Status loci = BuildAllLoci(data, allLoci);
  ReplaceFirst(state.groups, std::move(allData));
  if (loci) ReplaceFirst(state.locusSets, std::move(allLoci));
  return groups ? loci : groups;
}

std::size_t Depth(std::string_view name) {
  return static_cast<std::size_t>(std::count(name.begin(), name.end(), '/')) + 1;
}

std::size_t GroupDepth(const GroupList& groups, std::size_t index) {
  return index < groups.size() ? Depth(groups[index].name) : 0;
}

std::size_t LevelCount(const GroupList& groups) {
  if (groups.empty()) return 0;
  std::size_t levels = 1;
  for (const auto& entry : groups) {
    if (Depth(entry.name) > levels) ++levels;
  }
  return levels;
}

std::size_t CountAtDepth(const GroupList& groups, std::size_t depth) {
  if (groups.size() == 1) return depth == 0 ? 1 : 0;
  return static_cast<std::size_t>(
      std::count_if(groups.begin(), groups.end(), [depth](const GroupEntry& entry) { return Depth(entry.name) == depth; }));
}

std::vector<std::string> NamesAtDepth(const GroupList& groups, std::size_t depth) {
  std::vector<std::string> names;
  for (const auto& entry : groups) {
    if (Depth(entry.name) == depth) names.push_back(entry.name);
  }
  return names;
}

std::size_t GroupOfIndividual(const GroupList& groups, std::string_view name) {
  for (std::size_t index = 1; index < groups.size(); ++index) {
    const auto& members = groups[index].members;
    if (std::find(members.begin(), members.end(), name) != members.end()) return index;
  }
  return 0;
}

std::string_view LastNameComponent(std::string_view name) {
  const std::size_t slash = name.rfind('/');
  return slash == std::string_view::npos ? name : name.substr(slash + 1);
}

std::string DisplayName(std::string_view name, bool showFullPath) {
  return std::string(showFullPath ? name : LastNameComponent(name));
}

std::vector<std::string> DisplayNames(const GroupList& list, bool showFullPath) {
  std::vector<std::string> names;
  names.reserve(list.size());
  for (const auto& entry : list) names.push_back(DisplayName(entry.name, showFullPath));
  return names;
}

GroupList CopyList(const GroupList& source) { return source; }

void ClearList(GroupList& list) { list.clear(); }

bool RemoveEntry(GroupList& list, std::size_t index) {
  if (index >= list.size()) return false;
  list.erase(list.begin() + static_cast<std::ptrdiff_t>(index));
  return true;
}

std::string CleanName(std::string_view typed) {
  constexpr std::string_view kRemoved = " \t\r\n.:,;=*/\\<>";
  std::string name;
  for (char c : typed) {
    if (kRemoved.find(c) == std::string_view::npos) name += c;
  }
  return DisplayText(name);
}

}  // namespace vorn
