#include "commands/dialogs/group_manager_dialog.h"

#include <algorithm>
#include <string_view>
#include <unordered_set>

#include "groups/group_model.h"
#include "groups/repeated_members.h"
#include "groups/selection.h"

namespace vorn {
namespace {

const char* const kNameExists = "Proposed group name already exits";

std::string CountText(std::size_t count) { return "n= " + std::to_string(count); }

// The refusal of a new entry when list already holds all it can after its implicit first one.
bool ListFull(Session& session, const GroupList& list, const char* entries) {
  if (list.size() <= kMaxListEntries) return false;
  session.ErrorBox("At most " + std::to_string(kMaxListEntries) + " " + entries +
                   " can be kept; delete one before adding another.");
  return true;
}

std::size_t Marked(const std::vector<bool>& marks) {
  return static_cast<std::size_t>(std::count(marks.begin(), marks.end(), true));
}

bool IsMarked(const std::vector<bool>& marks, std::size_t index) { return index < marks.size() && marks[index]; }

// The index an entry moves to when entry removed leaves its list; nothing when it was removed.
std::optional<std::size_t> AfterRemoval(std::optional<std::size_t> index, std::size_t removed) {
  if (!index || *index < removed) return index;
  if (*index == removed) return std::nullopt;
  return *index - 1;
}

std::optional<std::size_t> EntryIn(const GroupList& list, std::size_t index) {
  return index < list.size() ? std::optional<std::size_t>(index) : std::nullopt;
}

}  // namespace

void TGrpManDlg::Open(Session& session) {
  session_ = &session;
  const GroupState& state = session.ws.groups;
  groups_ = CopyList(state.groups);
  locusSets_ = CopyList(state.locusSets);
  cancelled = false;
  currentGroup_ = rememberedGroup_ < groups_.size() ? rememberedGroup_ : 0;
  activeGroupEntry_ = EntryIn(groups_, state.activeGroup);
  activeLocusSetEntry_ = EntryIn(locusSets_, state.activeLocusSet);
  shownLocusSet_ = chosenLocusSet_ = activeLocusSetEntry_.value_or(0);
  showFullPathAtOpening_ = state.showFullPath;

  controls_ = GroupManagerControls();
  controls_.showFullPath = state.showFullPath;
  ShowGroupItems();
  ShowCurrentGroup();
  controls_.loci = locusSets_.empty() ? std::vector<std::string>() : locusSets_[0].members;
  for (const auto& set : locusSets_) controls_.locusSetItems.push_back(set.name);
  ShowLocusSet();
  // The drop-down opens on AllLoci, whichever locus set the name, count and ticks show.
  controls_.locusSetIndex = 0;
}

void TGrpManDlg::ShowGroupItems() {
  controls_.groupItems = DisplayNames(groups_, session_->ws.groups.showFullPath);
  controls_.groupIndex = static_cast<int>(currentGroup_);
}

void TGrpManDlg::ShowCurrentGroup() {
  if (currentGroup_ < groups_.size()) {
    const GroupEntry& group = groups_[currentGroup_];
    controls_.dataSetName = DisplayName(group.name, session_->ws.groups.showFullPath);
    controls_.dataSetCount = CountText(group.MemberCount());
    controls_.members = group.members;
  }
  controls_.groupIndex = static_cast<int>(currentGroup_);
  controls_.membersSelected.assign(controls_.members.size(), false);
  controls_.picked.clear();
  controls_.pickedSelected.clear();
  ShowPickedCount();
}

void TGrpManDlg::ShowPickedCount() { controls_.pickedCount = CountText(controls_.picked.size()); }

void TGrpManDlg::ShowLocusSet() {
  controls_.locusSetIndex = static_cast<int>(shownLocusSet_);
  if (shownLocusSet_ >= locusSets_.size()) return;
  const GroupEntry& set = locusSets_[shownLocusSet_];
  controls_.locusSetName = set.name;
  controls_.locusCount = CountText(set.MemberCount());
  const std::unordered_set<std::string_view> members(set.members.begin(), set.members.end());
  controls_.lociTicked.assign(controls_.loci.size(), false);
  for (std::size_t l = 0; l < controls_.loci.size(); ++l) controls_.lociTicked[l] = members.count(controls_.loci[l]) > 0;
}

void TGrpManDlg::NewGrpSlection() {
  if (controls_.groupIndex < 0 || static_cast<std::size_t>(controls_.groupIndex) >= groups_.size()) return;
  currentGroup_ = static_cast<std::size_t>(controls_.groupIndex);
  ShowCurrentGroup();
}

void TGrpManDlg::TogglePathFormat() {
  session_->ws.groups.showFullPath = controls_.showFullPath;
  if (currentGroup_ < groups_.size()) {
    controls_.dataSetName = DisplayName(groups_[currentGroup_].name, controls_.showFullPath);
  }
  ShowGroupItems();
}

void TGrpManDlg::Button1Click() {
  for (std::size_t m = 0; m < controls_.members.size(); ++m) {
    if (!IsMarked(controls_.membersSelected, m)) continue;
    controls_.picked.push_back(controls_.members[m]);
    controls_.pickedSelected.push_back(false);
  }
  ShowPickedCount();
}

void TGrpManDlg::Button2Click() {
  std::vector<std::string> kept;
  for (std::size_t p = 0; p < controls_.picked.size(); ++p) {
    if (!IsMarked(controls_.pickedSelected, p)) kept.push_back(controls_.picked[p]);
  }
  controls_.picked = std::move(kept);
  controls_.pickedSelected.assign(controls_.picked.size(), false);
  ShowPickedCount();
}

void TGrpManDlg::Button3Click() {
  if (controls_.picked.empty() || currentGroup_ >= groups_.size()) return;
  if (ListFull(*session_, groups_, "groups")) return;
  const std::string name = controls_.groupName = CleanName(controls_.groupName);
  if (name.empty()) {
    session_->ErrorBox("You must enter a name for your group");
    return;
  }
  const bool taken = std::any_of(groups_.begin(), groups_.end(),
                                 [&](const GroupEntry& group) { return LastNameComponent(group.name) == name; });
  if (taken) {
    session_->ErrorBox(kNameExists);
    return;
  }
  GroupEntry group{groups_[currentGroup_].name + "/" + name, {}, false};
  for (const auto& member : controls_.picked) group.members.push_back(CutLabel(member));
  // A name picked twice joins once, as a member repeated in a [Groups] block does.
  std::vector<RepeatedMember> repeated;
  KeepEachMemberOnce(group, repeated);
  if (!repeated.empty()) session_->MessageQuery(RepeatedMembersNotice(repeated), "Warning", MessageButtons::Ok);
  groups_.push_back(std::move(group));
  controls_.groupItems.push_back(DisplayName(groups_.back().name, session_->ws.groups.showFullPath));
  controls_.groupName.clear();
  controls_.picked.clear();
  controls_.pickedSelected.clear();
  ShowPickedCount();
}

void TGrpManDlg::Button4Click() {
  if (currentGroup_ == 0) {
    session_->ErrorBox(
        "\"AllData\" cannot be deleted from the Group Manager, because\r\nit is not a sub-set of your data-set, but "
        "the entire current data-set.");
    return;
  }
  if (!RemoveEntry(groups_, currentGroup_)) return;
  activeGroupEntry_ = AfterRemoval(activeGroupEntry_, currentGroup_);
  currentGroup_ = 0;
  ShowGroupItems();
  ShowCurrentGroup();
  controls_.groupName.clear();
}

void TGrpManDlg::NewLocSelection() {
  if (controls_.locusSetIndex < 0 || static_cast<std::size_t>(controls_.locusSetIndex) >= locusSets_.size()) return;
  shownLocusSet_ = static_cast<std::size_t>(controls_.locusSetIndex);
  ShowLocusSet();
}

void TGrpManDlg::LocNoRedo() { controls_.locusCount = CountText(Marked(controls_.lociTicked)); }

void TGrpManDlg::Button5Click() {
  if (Marked(controls_.lociTicked) == 0) return;
  if (ListFull(*session_, locusSets_, "locus sets")) return;
  const std::string name = controls_.locusSetNameField = CleanName(controls_.locusSetNameField);
  if (name.empty()) {
    session_->ErrorBox("You need to provide a valid name for your locus set");
    return;
  }
  const bool taken =
      std::any_of(locusSets_.begin(), locusSets_.end(), [&](const GroupEntry& set) { return set.name == name; });
  if (taken) {
    session_->ErrorBox(kNameExists);
    return;
  }
  controls_.locusSetNameField.clear();
  controls_.locusSetName = name;
  GroupEntry set{name, {}, false};
  for (std::size_t l = 0; l < controls_.loci.size(); ++l) {
    if (IsMarked(controls_.lociTicked, l)) set.members.push_back(controls_.loci[l]);
  }
  locusSets_.push_back(std::move(set));
  controls_.locusSetItems.push_back(name);
}

void TGrpManDlg::Button6Click() {
  if (shownLocusSet_ == 0) {
    session_->ErrorBox("\"AllLoci\" cannot be deleted from the Group Manager");
    return;
  }
  // The loci of the working data cannot change while a group is active, so the locus set they
  // come from must stay.
  if (activeLocusSetEntry_ == shownLocusSet_ && !LocusSetsSelectable(session_->ws.groups)) {
    session_->MessageQuery(kLocusSetsNeedAllData, "Warning", MessageButtons::Ok);
    return;
  }
  if (!RemoveEntry(locusSets_, shownLocusSet_)) return;
  chosenLocusSet_ = AfterRemoval(chosenLocusSet_, shownLocusSet_).value_or(0);
  activeLocusSetEntry_ = AfterRemoval(activeLocusSetEntry_, shownLocusSet_);
  controls_.locusSetItems.erase(controls_.locusSetItems.begin() + static_cast<std::ptrdiff_t>(shownLocusSet_));
  shownLocusSet_ = 0;
  ShowLocusSet();
}

void TGrpManDlg::Button7Click() { chosenLocusSet_ = shownLocusSet_; }

void TGrpManDlg::Button8Click() {
  controls_.lociTicked.assign(controls_.loci.size(), false);
  controls_.locusCount = CountText(0);
}

void TGrpManDlg::OKBtnClick() {
  GroupState& state = session_->ws.groups;
  state.groups = CopyList(groups_);
  state.locusSets = CopyList(locusSets_);
  rememberedGroup_ = currentGroup_;
}

void TGrpManDlg::CancelBtnClick() {
  session_->ws.groups.showFullPath = showFullPathAtOpening_;
  ClearList(groups_);
  ClearList(locusSets_);
  cancelled = true;
}

}  // namespace vorn
