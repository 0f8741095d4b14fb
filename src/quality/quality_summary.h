// The data quality summary: how the missing scores of the working matrix are spread, and the
// sentences a methods section needs from the filter log ("Of 583 loci, 41 with >5% error rate
// and 12 with >20% missing data were removed, leaving 530."). The sentences cover the steps
// since the last restore of the original matrix, which undoes every earlier one.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/conventions.h"
#include "core/data_matrix.h"
#include "core/filter_log.h"
#include "core/result_table.h"

namespace vorn {

struct ShareSpread {
  Real least = 0;
  Real median = 0;  // of an even count, the mean of the middle two
  Real greatest = 0;
};

struct MissingShares {
  MatrixCounts counts;
  Real overall = 0;         // missing scores over all scores
  ShareSpread individuals;  // each individual's share of missing scores
  ShareSpread loci;         // each locus's share
};

// Of a matrix with at least one individual and one locus.
MissingShares MissingSharesOf(const DataMatrix& matrix);

// Every step of the log with the counts before and after it ("120 -> 112"), headed by the matrix
// as loaded.
ResultTable FilterStepTable(const FilterLog& log);

// "3.13 %".
std::string PercentText(Real share);

// The methods sentences: the matrix the steps started from, the loci removed (one sentence for
// all locus removals), the individuals removed, the other steps in their order, the selection
// the data are left with (none when it is the whole data set), the error rate, the final matrix.
std::vector<std::string> MethodsSentences(const FilterLog& log, const MissingShares& now);

}  // namespace vorn
