// The GenePop export: a title line, the locus labels on one line separated by ", ", one
// population ("POP") for all individuals or one per group, and per individual its label, ", "
// and a four-digit genotype per locus (0100 present, 0200 or 0202 absent, 0000 unknown).
#pragma once

#include <string>

#include "core/data_matrix.h"
#include "core/group_lists.h"
#include "core/result.h"

namespace vorn {

// Refuses (before anything is written) a cell without a score and labels holding a "," (which
// separates names from genotypes); then writes the file anew. absenceAsUnknown: 0200 (0/?),
// otherwise 0202 (0/0). With populations, each group of the first level below AllData is one
// POP of its individuals in data order; refused then are lists without such groups, a member
// that is no individual, and an individual in no group or in two (GenePop counts each
// individual in one population).
Status WriteGenePop(const std::string& path, const DataMatrix& matrix, bool absenceAsUnknown,
                    const GroupList* populations = nullptr);

}  // namespace vorn
