// The one way a filter's matrix becomes the working data: the new matrix is swapped in and the
// step entered in the filter log with the counts before and after, so that every removal,
// replacement, merge and profile is logged by the same code that installs it. Removals report
// through ApplyRemoval: "Removing " n middle [x tail], then the box n boxText.
#pragma once

#include <optional>
#include <string>

#include "commands/shell/main_program.h"
#include "core/filter_log.h"
#include "matrix/removal_filters.h"

namespace vorn {

// Makes matrix the working data and logs the step (text: the report line; phrase: how a
// methods section words it).
void SwapInMatrix(TMainPrg& app, DataMatrix matrix, FilterStepKind kind, std::string text, std::string phrase);

// Logs a step that changed the working data by other means (a selection, a restore), from the
// counts the data had before it.
void LogStep(TMainPrg& app, FilterStepKind kind, std::string text, const MatrixCounts& before, std::string phrase);

struct RemovalTexts {
  std::string middle;   // " loci with >"
  std::string tail;     // "% missing data", after x = 100 t (filters with a threshold)
  std::string boxText;  // " loci removed."
  std::string caption;  // "Data removal..."
};

// Swaps the removal's matrix in, reports it and shows its box. The methods phrase is the report
// after "Removing n loci " (or "individuals "), with the threshold in its shortest form:
// "with >25% missing data", "monomorphic loci".
void ApplyRemoval(TMainPrg& app, Removal removal, const RemovalTexts& texts, std::optional<double> threshold);

}  // namespace vorn
