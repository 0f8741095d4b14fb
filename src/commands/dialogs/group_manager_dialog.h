// TGrpManDlg, "Group Manager": builds the group hierarchy by picking members of a group into a
// named sub-group, deletes groups, builds and deletes locus sets and chooses the locus set to
// work on. It edits working copies of the two lists; OK makes them the workspace's, Cancel
// discards them. The current group (the parent of new sub-groups) is remembered between
// openings. Every handler reads the controls as the host left them; a refusal shows its box
// and leaves the dialog as it was.
#pragma once

#include <cstddef>
#include <optional>

#include "core/group_manager_view.h"
#include "core/session.h"

namespace vorn {

class TGrpManDlg : public GroupManagerView {
 public:
  // Opens on the session's lists, which must hold their implicit entries: working copies, the
  // remembered current group, and the active locus set shown and chosen (its name, count and
  // ticks; the locus-set drop-down itself opens on AllLoci).
  void Open(Session& session);

  GroupManagerControls& Controls() override { return controls_; }

  void NewGrpSlection() override;
  void TogglePathFormat() override;
  void Button1Click() override;
  void Button2Click() override;
  void Button3Click() override;
  void Button4Click() override;
  void NewLocSelection() override;
  void LocNoRedo() override;
  void Button5Click() override;
  void Button6Click() override;
  void Button7Click() override;
  void Button8Click() override;

  // OK: the working lists become the workspace's and the current group is remembered. The
  // caller then brings the selections in line (ActiveGroupEntry, ActiveLocusSetEntry,
  // ChosenLocusSet) and rebuilds the "Select Group Only" menu.
  void OKBtnClick();
  // Cancel: the working lists are dropped and "Show full data path" is restored.
  void CancelBtnClick();

  // The locus set to work on after OK.
  std::size_t ChosenLocusSet() const { return chosenLocusSet_; }
  // Where the workspace's active group and locus set now stand in the working lists; nothing
  // when the entry was deleted.
  std::optional<std::size_t> ActiveGroupEntry() const { return activeGroupEntry_; }
  std::optional<std::size_t> ActiveLocusSetEntry() const { return activeLocusSetEntry_; }

  bool cancelled = false;

 private:
  // Shows the current group: name, count, members; empties the picked list (the typed name of
  // the new sub-set stays).
  void ShowCurrentGroup();
  void ShowGroupItems();
  void ShowPickedCount();
  // Shows the name and count of the shown locus set and ticks exactly its loci.
  void ShowLocusSet();

  Session* session_ = nullptr;
  GroupManagerControls controls_;
  GroupList groups_;
  GroupList locusSets_;
  std::size_t currentGroup_ = 0;
  std::size_t rememberedGroup_ = 0;  // the current group at the last OK
  std::size_t shownLocusSet_ = 0;
  std::size_t chosenLocusSet_ = 0;
  bool showFullPathAtOpening_ = true;
  std::optional<std::size_t> activeGroupEntry_;
  std::optional<std::size_t> activeLocusSetEntry_;
};

}  // namespace vorn
