// The scores admixture clustering fits: the individuals left after those without any score,
// individual-major (individual i at locus l at i * loci + l) so that one pass over an individual
// reads its scores in order, each a ScoreCode.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/data_matrix.h"
#include "core/result.h"

namespace vorn {

enum ScoreCode : std::uint8_t { kNoBand = 0, kBand = 1, kUnscored = 2 };

struct ScoreTable {
  std::size_t individuals = 0;
  std::size_t loci = 0;
  std::vector<std::uint8_t> scores;

  std::uint8_t At(std::size_t individual, std::size_t locus) const { return scores[individual * loci + locus]; }
  const std::uint8_t* Row(std::size_t individual) const { return scores.data() + individual * loci; }
};

// The band matrix as a score table, without the individuals every score of which is missing.
struct FittedScores {
  ScoreTable table;
  std::vector<std::uint32_t> kept;         // the data's individuals in table order
  std::vector<std::string> leftOut;        // labels of the individuals without any score
  std::size_t polymorphicLoci = 0;         // loci scored both with and without the band
};

// Fails when fewer than two individuals keep a score or fewer than two loci are polymorphic.
Result<FittedScores> ScoresToFit(const DataMatrix& data);

}  // namespace vorn
