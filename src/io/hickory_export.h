// The Nexus export for Hickory: the TAXA block and an ALLELES block of dominant markers, one
// population per group of the first level below AllData, each member's scores as 1, 0 or the
// missing symbol, read from the first individual of the member's name.
#pragma once

#include <string>

#include "core/data_matrix.h"
#include "core/group_lists.h"
#include "core/result.h"

namespace vorn {

// Refuses (before anything is written) what the Nexus export refuses, a population without
// members and a member that is no individual; then writes the file anew. The populations are
// the groups of depth 2, in list order.
Status WriteHickory(const std::string& path, const DataMatrix& matrix, const GroupList& groups, char missing);

}  // namespace vorn
