// The filter log: what the working data went through since the last load or import. Each load
// or import starts it with the matrix as read; every removal, replacement, merge, profile,
// selection and restore since adds one step with the counts before and after it. The log only
// records: the steps' texts are the commands' own report lines.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/conventions.h"
#include "core/data_matrix.h"

namespace vorn {

// What a step is counted by: individuals, loci and missing scores of the working matrix.
struct MatrixCounts {
  std::size_t individuals = 0;
  std::size_t loci = 0;
  std::size_t missing = 0;

  bool operator==(const MatrixCounts&) const = default;
};

MatrixCounts CountsOf(const DataMatrix& matrix);

enum class FilterStepKind { Removal, Replacement, Merge, Profiles, Selection, Restore };

struct FilterStep {
  FilterStepKind kind = FilterStepKind::Removal;
  std::string text;    // the command's report line, "Removing 4 loci with >25.000000000% missing data"
  std::string phrase;  // a removal's criterion as a methods section names it, "with >25% missing data"
  MatrixCounts before;
  MatrixCounts after;
};

// The overall genotyping error rate of the last Replicate Error Rates run, with what it counted.
struct LoggedErrorRate {
  std::size_t pairs = 0;
  std::size_t comparisons = 0;
  std::size_t mismatches = 0;
  Real rate = 0;  // mismatches / comparisons
  std::size_t afterSteps = 0;  // the number of steps logged when it was computed
};

struct FilterLog {
  std::string source;  // the file loaded or imported; "" when its command did not name it
  std::string sourceSha256;  // of the file as it was read; "" when not known
  MatrixCounts loaded;
  std::vector<FilterStep> steps;
  std::optional<LoggedErrorRate> errorRate;

  // Starts the log anew for freshly read data.
  void Start(const DataMatrix& matrix);
  void Add(FilterStep step) { steps.push_back(std::move(step)); }
};

}  // namespace vorn
