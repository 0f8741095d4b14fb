// DataMatrix > Group Manager and DataMatrix > Select Group Only.
#include "commands/data/filter_swap.h"
#include "commands/shell/main_program.h"
#include "commands/data/whole_data_set.h"
#include "groups/group_model.h"
#include "groups/selection.h"

namespace vorn {
namespace {

constexpr const char* kWholeDataSelected = "Entire data set (AllData) selected";

// A selection the user made, entered in the filter log when it changed the counts: what names
// the data selected ("the group AllData/River"). A return to the whole data set needs no
// sentence of its own in a methods section.
void LogSelection(TMainPrg& app, const MatrixCounts& before, const std::string& what, bool whole = false) {
  const MatrixCounts after = CountsOf(app.ws.data);
  if (after == before) return;
  LogStep(app, FilterStepKind::Selection, "Selected " + what, before,
          whole ? std::string() : "The analyses used " + what + ": " + std::to_string(after.individuals) +
                                      " individuals and " + std::to_string(after.loci) + " loci.");
}

// After OK the lists may have lost or moved the entries the working data came from: the active
// indices follow their entries, and a working subset whose entry was deleted gives way to the
// whole data set (a deleted locus set can only be the active one while no group is active).
// An entry only moves up when one before it is deleted, so it still fits the 16-bit index.
void FollowActiveEntries(TMainPrg& app, const TGrpManDlg& dialog) {
  GroupState& state = app.ws.groups;
  if (state.activeGroup != 0) {
    if (const auto entry = dialog.ActiveGroupEntry()) {
      state.activeGroup = static_cast<std::uint16_t>(*entry);
    } else {
      ReturnToWholeDataSet(app);
    }
  }
  if (state.activeLocusSet != 0) {
    if (const auto entry = dialog.ActiveLocusSetEntry()) {
      state.activeLocusSet = static_cast<std::uint16_t>(*entry);
    } else if (const MatrixCounts before = CountsOf(app.ws.data); app.Check(SelectLocusSet(app.ws, 0))) {
      LogSelection(app, before, "all loci (AllLoci)", true);
    }
  }
}

void ChooseLocusSet(TMainPrg& app, std::size_t chosen) {
  if (chosen == app.ws.groups.activeLocusSet) return;
  if (!LocusSetsSelectable(app.ws.groups)) {
    app.MessageQuery(kLocusSetsNeedAllData, "Warning", MessageButtons::Ok);
    return;
  }
  const MatrixCounts before = CountsOf(app.ws.data);
  if (!app.Check(SelectLocusSet(app.ws, chosen))) return;
  const GroupList& sets = app.ws.groups.locusSets;
  if (chosen == 0 || chosen >= sets.size()) LogSelection(app, before, "all loci (AllLoci)", true);
  else LogSelection(app, before, "the locus set " + sets[chosen].name);
}

void Groups1Click(TMainPrg& app) {
  if (!app.RequireData()) return;
  GroupState& state = app.ws.groups;
  if (state.groups.empty()) app.Check(BuildAllData(app.ws.data, state.groups));
  if (state.locusSets.empty()) app.Check(BuildAllLoci(app.ws.data, state.locusSets));
  app.Report("Calling Group Manager");

  TGrpManDlg& dialog = app.dialogs.groupManager;
  dialog.Open(app);
  if (!app.host.ShowGroupManager(dialog)) {
    dialog.CancelBtnClick();
    return;
  }
  dialog.OKBtnClick();
  FollowActiveEntries(app, dialog);
  ChooseLocusSet(app, dialog.ChosenLocusSet());
  app.RebuildGroupMenu(DisplayNames(state.groups, state.showFullPath));
}

// An entry of "Select Group Only"; its tag is the group's position in the list.
void SelectGroupOnly(TMainPrg& app, const MenuItem& item) {
  if (!app.ws.dataLoaded) return;
  const auto index = static_cast<std::size_t>(item.tag);
  const MatrixCounts before = CountsOf(app.ws.data);
  if (!app.Check(SelectGroup(app.ws, index))) return;
  const GroupList& groups = app.ws.groups.groups;
  if (index == 0 || index >= groups.size()) {
    app.Report(kWholeDataSelected);
    LogSelection(app, before, "the whole data set (AllData)", true);
  } else {
    app.Report("Group selected: " + groups[index].name);
    LogSelection(app, before, "the group " + groups[index].name);
  }
}

}  // namespace

void ReturnToWholeDataSet(TMainPrg& app) {
  if (app.ws.groups.activeGroup == 0) return;
  const MatrixCounts before = CountsOf(app.ws.data);
  if (!app.Check(SelectGroup(app.ws, 0))) return;
  app.Report(kWholeDataSelected);
  LogSelection(app, before, "the whole data set (AllData)", true);
}

void RegisterGroupCommands(HandlerTable& table) {
  table["Groups1Click"] = Plain(Groups1Click);
  table[std::string(kSelectGroupHandler)] = SelectGroupOnly;
}

}  // namespace vorn
