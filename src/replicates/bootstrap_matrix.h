// The Standard matrix of one bootstrap sample of the loci, as every bootstrap analysis over the
// Standard similarity builds it (the bootstrap Std. trees and the support of a NeighborNet's
// splits): the drawn loci weighted over the working data, coefficient and Nei-Li r of the settings.
#pragma once

#include <cstdint>
#include <vector>

#include "core/data_matrix.h"
#include "core/settings.h"
#include "similarity/similarity_matrix.h"

namespace vorn {

// loci from DrawLoci; asDistances fills the matrix with the distances of the settings'
// transformation. The coefficient must have been checked (CheckReplicateRun).
SimilarityFill BootstrapStdMatrix(const DataMatrix& data, const std::vector<std::uint32_t>& loci,
                                  const SimilaritySettings& settings, bool asDistances);

}  // namespace vorn
