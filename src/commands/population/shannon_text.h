// The lines that every Shannon result block opens with (the logarithm base and the basis of the
// band frequencies), and its values: one table that the file and the report both write.
#pragma once

#include <string>
#include <vector>

#include "core/result_table.h"
#include "core/settings.h"

namespace vorn {

// "LogBase = 2", "= e", "= 10", or "= " and A for another base.
std::string LogBaseLine(const ShannonScaling& scaling);

// "Frequencies per locus: ..." or "Frequencies per datamatrix: ...".
std::string FrequencyBasisLine(const ShannonScaling& scaling);

// The table "Statistic", "Value" of I, var(I) and, when withDeviation, the standard deviation.
ResultTable ShannonTable(Real index, Real variance, bool withDeviation);

// Its rows as the analysis file writes them: "I =       1.2", "var(I) =  0.01", "std.dev.= 0.1".
std::vector<std::string> ShannonLines(const ResultTable& table);

}  // namespace vorn
