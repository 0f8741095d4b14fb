// The Arlequin project export: every individual one RFLP haplotype (its band profile), the groups
// of one hierarchy level as the samples, and with two levels the groups above them as the groups
// of the genetic structure.
#pragma once

#include <string>

#include "core/data_matrix.h"
#include "core/group_lists.h"
#include "core/result.h"

namespace vorn {

// Refuses (before anything is written) data without individual labels, a cell without a score,
// a sample without members or with a member that is no individual, two samples whose last name
// parts are equal (Arlequin knows samples by that name) and names holding a double quote; then
// writes the file anew. twoLevels: the samples are the groups of depth 3 and those of depth 2
// group them; otherwise the samples are the groups of depth 2.
Status WriteArlequin(const std::string& path, const DataMatrix& matrix, const GroupList& groups, bool twoLevels,
                     char missing);

}  // namespace vorn
