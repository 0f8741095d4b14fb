// The lines that every Shannon result block opens with (the logarithm base and the basis of the
// band frequencies), and its values: one table that the file and the report both write, the
// block written by one function for the index and its bootstrap.
#pragma once

#include <string>
#include <vector>

#include "commands/shell/main_program.h"
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

// Writes the block under heading to the analysis file and, once it is written, adds step (its
// title, method and references given) with the block's lines and table to the report.
void WriteShannonBlock(TMainPrg& app, const std::string& heading, const ResultTable& table, ReportStep step);

}  // namespace vorn
