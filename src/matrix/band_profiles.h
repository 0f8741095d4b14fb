// Band profiles: a group of individuals condensed into one row of presences and absences.
// Additive: a band is present when any member shows it. Fixed: present only when no member
// lacks it and it is scored present more often than it is missing. Profiles hold no missing
// scores.
#pragma once

#include <cstddef>
#include <vector>

#include "core/data_matrix.h"

namespace vorn {

// One Presence or Absence per locus of group (the matrix of one group's individuals).
std::vector<Cell> AdditiveProfile(const DataMatrix& group);

struct FixedProfileResult {
  std::vector<Cell> profile;
  std::size_t presenceCount = 0;  // loci set to Presence
};
FixedProfileResult FixedProfile(const DataMatrix& group);

}  // namespace vorn

#include "core/result.h"
#include "core/workspace.h"

namespace vorn {

enum class ProfileKind { Additive, Fixed };

// The matrix of group profiles: one row per group after AllData, in list order, labelled with
// the last component of the group's name; the loci and their labels of the whole data set. Each
// group is selected in turn as the working data, and the whole data set is working again
// afterwards. A group that cannot be selected ends it with its message, and the group that was
// working before is working again. More groups than a matrix holds individuals are refused
// before any is selected.
Result<DataMatrix> GroupProfileMatrix(Workspace& ws, ProfileKind kind);

}  // namespace vorn
