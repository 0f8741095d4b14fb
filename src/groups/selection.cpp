#include "groups/selection.h"

#include <optional>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace vorn {
namespace {

DataMatrix Unpark(ParkedIndividuals&& slot) {
  return DataMatrix{slot.individualCount, slot.locusCount, std::move(slot.cells), std::move(slot.labels),
                    std::move(slot.locusLabels), std::move(slot.locusMetrics)};
}

DataMatrix Unpark(ParkedLoci&& slot) {
  return DataMatrix{slot.individualCount, slot.locusCount, std::move(slot.cells), std::move(slot.individualLabels),
                    std::move(slot.labels), std::move(slot.locusMetrics)};
}

void Park(DataMatrix&& full, std::optional<ParkedIndividuals>& slot) {
  slot = ParkedIndividuals{std::move(full.cells), full.individualCount, std::move(full.individualLabels),
                           full.locusCount, std::move(full.locusLabels), std::move(full.locusMetrics)};
}

void Park(DataMatrix&& full, std::optional<ParkedLoci>& slot) {
  slot = ParkedLoci{std::move(full.cells), full.locusCount, std::move(full.locusLabels), full.individualCount,
                    std::move(full.individualLabels), std::move(full.locusMetrics)};
}

using SubsetRoutine = Result<DataMatrix> (*)(const DataMatrix&, const GroupList&, std::size_t);

// An entry past kMaxListEntries has no active index; only a list filled past the readers' and
// the Group Manager's limits could offer one.
Status WithinActiveIndex(std::size_t index, const char* entries) {
  if (index <= kMaxListEntries) return Success();
  return Failure{"Only the first " + std::to_string(kMaxListEntries) + " " + entries + " can be selected."};
}

// Makes entry index of list the working subset, or (index 0) brings back the parked full data.
// The full data are the parked ones while a subset is active, the working data otherwise. The
// callers have checked that index fits the active index.
template <typename Slot>
Status SwitchSubset(Workspace& ws, std::optional<Slot>& parked, std::uint16_t& active, const GroupList& list,
                    std::size_t index, SubsetRoutine subset) {
  if (index == 0) {
    if (parked) ws.data = Unpark(std::move(*parked));
    parked.reset();
    active = 0;
    return Success();
  }
  const bool wholeActive = !parked;
  DataMatrix full = wholeActive ? std::move(ws.data) : Unpark(std::move(*parked));
  auto sub = subset(full, list, index);
  if (!sub) {
    if (wholeActive) ws.data = std::move(full);
    else Park(std::move(full), parked);
    return Failure{sub.error()};
  }
  Park(std::move(full), parked);
  ws.data = std::move(*sub);
  active = static_cast<std::uint16_t>(index);
  return Success();
}

// Walks the labels in data order with a cursor on the members: a label equal to the member under
// the cursor is taken and the cursor moves on. The positions taken, one per member matched.
std::vector<std::size_t> MatchInOrder(const LabelTable& labels, const std::vector<std::string>& members) {
  std::vector<std::size_t> positions;
  for (std::size_t i = 0; i < labels.Count() && positions.size() < members.size(); ++i) {
    if (labels[i] == members[positions.size()]) positions.push_back(i);
  }
  return positions;
}

// Sub-matrix of the chosen individuals (in the order given) at the chosen loci. The positions
// are distinct positions of full, so their counts fit its 16-bit counts.
DataMatrix Extract(const DataMatrix& full, const std::vector<std::size_t>& individuals,
                   const std::vector<std::size_t>& loci) {
  DataMatrix sub;
  sub.individualCount = static_cast<std::uint16_t>(individuals.size());
  sub.locusCount = static_cast<std::uint16_t>(loci.size());
  sub.cells.resize(individuals.size() * loci.size());
  Cell* out = sub.cells.data();
  for (std::size_t locus : loci) {
    const Cell* scores = full.Locus(locus);
    for (std::size_t individual : individuals) *out++ = scores[individual];
  }
  for (std::size_t individual : individuals) sub.individualLabels.Add(full.individualLabels[individual]);
  for (std::size_t locus : loci) sub.locusLabels.Add(full.locusLabels[locus]);
  sub.locusMetrics = full.locusMetrics.Picked(loci);
  return sub;
}

std::vector<std::size_t> AllPositions(std::size_t count) {
  std::vector<std::size_t> positions(count);
  for (std::size_t i = 0; i < count; ++i) positions[i] = i;
  return positions;
}

// A matrix whose label tables do not match its dimensions cannot be subset by name.
bool LabelsMatch(const DataMatrix& full) {
  return full.individualLabels.Count() == full.individualCount && full.locusLabels.Count() == full.locusCount &&
         full.cells.size() == full.CellCount();
}

}  // namespace

Result<std::vector<std::string>> OrderMembers(const LabelTable& labels, const std::vector<std::string>& members) {
  // Each label appends as many copies of itself as the members hold; counting them first keeps
  // this linear in the labels and members.
  std::unordered_map<std::string_view, std::size_t> copies;
  for (const auto& member : members) ++copies[member];
  std::vector<std::string> ordered;
  for (const auto& label : labels.All()) {
    const auto found = copies.find(label);
    if (found != copies.end()) ordered.insert(ordered.end(), found->second, label);
  }
  if (ordered.size() != members.size()) {
    return Failure{
        "Ordering Filter/Indiv failed.\r\n [This can happen e.g. if the individual names in your group filter do not "
        "match your actual individual names]"};
  }
  return ordered;
}

Result<DataMatrix> SelGrpOnly(const DataMatrix& full, const GroupList& groups, std::size_t index) {
  if (index >= groups.size()) return Failure{"SelGrpOnly: Specified group does not exit"};
  auto ordered = OrderMembers(full.individualLabels, groups[index].members);
  if (!ordered) return Failure{ordered.error()};
  const auto individuals = MatchInOrder(full.individualLabels, *ordered);
  if (individuals.size() != ordered->size() || !LabelsMatch(full)) {
    return Failure{"SelGrpOnly: #indiv names does not match"};
  }
  return Extract(full, individuals, AllPositions(full.locusCount));
}

Result<DataMatrix> SelLocSetOnly(const DataMatrix& full, const GroupList& locusSets, std::size_t index) {
  if (index >= locusSets.size()) return Failure{"SelLocSetOnly: Specified locus set does not exit"};
  const auto& members = locusSets[index].members;
  const auto loci = MatchInOrder(full.locusLabels, members);
  if (loci.size() != members.size() || !LabelsMatch(full)) return Failure{"SelGrpOnly: #locus names does not match"};
  return Extract(full, AllPositions(full.individualCount), loci);
}

Status SelectGroup(Workspace& ws, std::size_t index) {
  GroupState& state = ws.groups;
  if (index == state.activeGroup || state.groups.empty()) return Success();
  if (auto fits = WithinActiveIndex(index, "groups"); !fits) return fits;
  return SwitchSubset(ws, state.parkedIndividuals, state.activeGroup, state.groups, index, SelGrpOnly);
}

Status SelectLocusSet(Workspace& ws, std::size_t index) {
  GroupState& state = ws.groups;
  if (index == state.activeLocusSet) return Success();
  if (!LocusSetsSelectable(state)) return Failure{kLocusSetsNeedAllData};
  if (auto fits = WithinActiveIndex(index, "locus sets"); !fits) return fits;
  return SwitchSubset(ws, state.parkedLoci, state.activeLocusSet, state.locusSets, index, SelLocSetOnly);
}

Result<DataMatrix> GroupSubmatrix(const DataMatrix& data, const GroupList& groups, std::size_t groupIndex,
                                  const std::vector<std::uint8_t>& locusMask) {
  if (groupIndex >= groups.size()) return Failure{"GroupSubmatrix: the group does not exist"};
  if (locusMask.size() != data.locusCount || !LabelsMatch(data)) {
    return Failure{"GroupSubmatrix: the locus mask does not match the data"};
  }
  const auto membership = MembershipMask(data.individualLabels, groups[groupIndex].members);
  std::vector<std::size_t> individuals, loci;
  for (std::size_t i = 0; i < membership.mask.size(); ++i) {
    if (membership.mask[i]) individuals.push_back(i);
  }
  for (std::size_t l = 0; l < locusMask.size(); ++l) {
    if (locusMask[l] == 1) loci.push_back(l);
  }
  return Extract(data, individuals, loci);
}

}  // namespace vorn
