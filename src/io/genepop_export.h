// The GenePop export: a title line, the locus labels on one line separated by ", ", one
// population ("POP"), and per individual its label, ", " and a four-digit genotype per locus
// (0100 present, 0200 or 0202 absent, 0000 unknown).
#pragma once

#include <string>

#include "core/data_matrix.h"
#include "core/result.h"

namespace vorn {

// Refuses (before anything is written) a cell without a score and labels holding a "," (which
// separates names from genotypes); then writes the file anew. absenceAsUnknown: 0200 (0/?),
// otherwise 0202 (0/0).
Status WriteGenePop(const std::string& path, const DataMatrix& matrix, bool absenceAsUnknown);

}  // namespace vorn
