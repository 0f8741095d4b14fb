#include "matrix/band_profiles.h"

#include "groups/group_model.h"
#include "groups/selection.h"
#include "matrix/band_counts.h"

namespace vorn {

std::vector<Cell> AdditiveProfile(const DataMatrix& group) {
  std::vector<Cell> profile;
  profile.reserve(group.locusCount);
  for (const BandCounts& counts : CountRows(group, RowKind::Loci)) {
    profile.push_back(counts.presences > 0 ? Presence : Absence);
  }
  return profile;
}

FixedProfileResult FixedProfile(const DataMatrix& group) {
  FixedProfileResult result;
  result.profile.reserve(group.locusCount);
  const std::size_t n = group.individualCount;
  for (const BandCounts& counts : CountRows(group, RowKind::Loci)) {
    // Absences are the scores that are neither presences nor missing.
    const std::size_t absences = n - counts.presences - counts.missing;
    const bool fixed = counts.presences == n || (counts.missing < counts.presences && absences == 0);
    result.profile.push_back(fixed ? Presence : Absence);
    result.presenceCount += fixed;
  }
  return result;
}

Result<DataMatrix> GroupProfileMatrix(Workspace& ws, ProfileKind kind) {
  const GroupList& groups = ws.groups.groups;
  // One row per group after AllData: the rows must fit the 16-bit individual count.
  const std::size_t rowCount = groups.empty() ? 0 : groups.size() - 1;
  if (rowCount > kMaxDimension) {
    return Failure{"Profiles of " + std::to_string(rowCount) + " groups cannot be built: a data matrix holds at most " +
                   std::to_string(kMaxDimension) + " individuals."};
  }
  const std::uint16_t remembered = ws.groups.activeGroup;
  std::vector<std::vector<Cell>> profiles;
  for (std::size_t k = 1; k < groups.size(); ++k) {
    if (auto selected = SelectGroup(ws, k); !selected) {
      (void)SelectGroup(ws, remembered);
      return Failure{selected.error()};
    }
    profiles.push_back(kind == ProfileKind::Additive ? AdditiveProfile(ws.data) : FixedProfile(ws.data).profile);
  }
  if (auto whole = SelectGroup(ws, 0); !whole) return Failure{whole.error()};

  DataMatrix matrix;
  matrix.individualCount = static_cast<std::uint16_t>(rowCount);
  matrix.locusCount = ws.data.locusCount;
  matrix.locusLabels = ws.data.locusLabels;
  matrix.locusMetrics = ws.data.locusMetrics;
  matrix.cells.resize(matrix.CellCount());
  for (std::size_t k = 0; k < profiles.size(); ++k) {
    for (std::size_t l = 0; l < matrix.locusCount; ++l) matrix.cells[matrix.Position(k, l)] = profiles[k][l];
    matrix.individualLabels.Add(LastNameComponent(groups[k + 1].name));
  }
  return matrix;
}

}  // namespace vorn
