// Making a group or a locus set the working data, and the sub-matrices behind it.
//
// While a group other than AllData is active, ws.data holds only its individuals and the full
// matrix waits in ws.groups.parkedIndividuals; while a locus set other than AllLoci is active,
// the full loci wait in ws.groups.parkedLoci. A parked slot is a complete snapshot (cells, both
// counts, both label tables), so it always describes its own cells. Every selection starts
// again from the parked full data: selecting group 2 while group 1 is active does not work from
// group 1, and a change made to the working data while a subset is active (a filter) belongs to
// that subset only and is gone when another selection is made.
//
// Routines that work group by group (AMOVA, band profiles, the hindex export) remember
// ws.groups.activeGroup, call SelectGroup for each group they need, and call it again with the
// remembered index when they finish. Loading a file drops both selections
// (Workspace::InstallLoadedMatrix); so must anything else that replaces the data wholesale.
//
// Failures carry the message to show in an error box and leave the working data, the
// selections and the parked slots as they were. A member that is not (or no longer) a label of
// the data makes the selection fail; no routine here reads a cell outside its own matrix.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/data_matrix.h"
#include "core/group_lists.h"
#include "core/result.h"
#include "core/workspace.h"

namespace vorn {

// The refusal of a locus set while a group is active; shown in a box titled "Warning".
inline constexpr const char* kLocusSetsNeedAllData =
    "Sorry, but locus sets can currently only be applied to the entire data set (AllData)";

// The ordering filter: the members that equal each label, walking the labels in data order.
// Fails when that does not give back exactly as many names as there are members (a member
// missing from the data, or a label that occurs twice).
Result<std::vector<std::string>> OrderMembers(const LabelTable& labels, const std::vector<std::string>& members);

// The full matrix restricted to the individuals of group index, in data order, with their labels.
Result<DataMatrix> SelGrpOnly(const DataMatrix& full, const GroupList& groups, std::size_t index);
// The full matrix restricted to the loci of locus set index, with their labels. The members
// must be listed in data order.
Result<DataMatrix> SelLocSetOnly(const DataMatrix& full, const GroupList& locusSets, std::size_t index);

// Makes group index the working data (0 = the whole data set). Nothing happens when it is the
// active group already or there are no groups; an index past kMaxListEntries is refused.
Status SelectGroup(Workspace& ws, std::size_t index);

// True when the working loci may change: only while the whole data set is active.
inline bool LocusSetsSelectable(const GroupState& state) { return state.activeGroup == 0; }
// Makes locus set index the working loci (0 = all loci). Nothing happens when it is the active
// locus set already; fails with kLocusSetsNeedAllData while a group is active, and past
// kMaxListEntries.
Status SelectLocusSet(Workspace& ws, std::size_t index);

// The working matrix restricted to the individuals of group index (those of its members found
// among the labels, in data order) and to the loci whose mask byte is 1. For analyses that need
// a group's scores without changing the working data.
Result<DataMatrix> GroupSubmatrix(const DataMatrix& data, const GroupList& groups, std::size_t groupIndex,
                                  const std::vector<std::uint8_t>& locusMask);

}  // namespace vorn
