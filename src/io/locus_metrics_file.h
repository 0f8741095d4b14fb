// File > Export > Locus Metrics (CSV): the working loci's metrics as a CSV table, a title row
// "Locus" and the metric names, then one row per locus with its name and values in their
// shortest exact form, "NA" where it has none; lines end in CR LF.
#pragma once

#include <string>

#include "core/data_matrix.h"
#include "core/result.h"

namespace vorn {

std::string LocusMetricsText(const DataMatrix& matrix);

// Writes that text through the all-or-nothing writer; refuses data without locus metrics.
Status WriteLocusMetricsFile(const std::string& path, const DataMatrix& matrix);

}  // namespace vorn
