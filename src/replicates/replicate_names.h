// The names the replicate tree analyses give their trees and saved matrices, from the
// coefficient's short name (Jaccard), the draw count JC and the replicate number.
#pragma once

#include <cstdint>
#include <string>

#include "core/settings.h"

namespace vorn {

enum class ReplicateAnalysis { BootstrapStd, BootstrapAverage, MultipleAverage };

// BSJaccard7, BSAvgJaccard100x3, AvgJaccard100x1; cut to 20 characters.
std::string ReplicateTreeLabel(ReplicateAnalysis analysis, SimilarityCoefficient coefficient, std::int32_t drawCount,
                               std::int32_t replicate);

// The title of a replicate's similarity (or mean) matrix in the analysis file:
// "Std Jaccard from resampled data matrix replicate 7", "Avg Jaccard from resampled data
// replicate 3", "Average Expected Jaccard values (100x, run1)".
std::string ReplicateMatrixTitle(ReplicateAnalysis analysis, SimilarityCoefficient coefficient,
                                 std::int32_t drawCount, std::int32_t replicate);

// The title of an average analysis' variance matrix: "Variance on Jaccard from resampled data
// replicate 3", "Variance of Expected Jaccard values(100x, run1)" (no space before the bracket).
std::string ReplicateVarianceTitle(ReplicateAnalysis analysis, SimilarityCoefficient coefficient,
                                   std::int32_t drawCount, std::int32_t replicate);

// The line each command reports when it starts: "Bootstrapping Std Jaccard Tree...",
// "Bootstrapping Average Jaccard trees...", "Generating Multiple Average Jaccard trees...".
std::string ReplicateStartLine(ReplicateAnalysis analysis, SimilarityCoefficient coefficient);

}  // namespace vorn
