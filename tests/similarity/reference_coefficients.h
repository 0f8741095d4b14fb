// Plain references for the fast similarity code: pair counts read byte by byte, one pass per
// count, and every coefficient written out as its formula; and random score blocks with
// missing scores for comparing the two.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <limits>
#include <random>
#include <vector>

#include "core/band_state.h"
#include "core/data_matrix.h"
#include "core/settings.h"

namespace vorn::testing {

inline constexpr SimilarityCoefficient kAllCoefficients[] = {
    SimilarityCoefficient::Jaccard, SimilarityCoefficient::Dice,      SimilarityCoefficient::SMC,
    SimilarityCoefficient::NeiLi,   SimilarityCoefficient::Euclidean, SimilarityCoefficient::SqEuclidean};
// The treatments a matrix is filled under; the Average is drawn between two of them.
inline constexpr SimilarityMode kFillVariants[] = {SimilarityMode::Standard, SimilarityMode::Minimum,
                                                   SimilarityMode::Maximum};

// n(x, y): loci where individual i of block A has x and individual j of block B has y.
inline Real ReferencePairCount(const Cell* blockA, std::size_t nA, std::size_t i, const Cell* blockB, std::size_t nB,
                               std::size_t j, std::size_t loci, Cell x, Cell y) {
  std::size_t count = 0;
  for (std::size_t l = 0; l < loci; ++l) {
    if (blockA[l * nA + i] == x && blockB[l * nB + j] == y) ++count;
  }
  return static_cast<Real>(count);
}

inline Real ReferenceNeiLi(Real s, Real r) {
  const Real g = std::pow(s, 1 / (2 * r));
  const Real y = (4 * g - 1) / 3;
  if (y <= 0) return -1;
  return -1.5L * std::log(y);
}

inline Real ReferenceCoefficient(const Cell* blockA, std::size_t nA, std::size_t i, const Cell* blockB,
                                 std::size_t nB, std::size_t j, std::size_t loci, SimilarityCoefficient coefficient,
                                 SimilarityMode variant, Real r) {
  const auto n = [&](Cell x, Cell y) { return ReferencePairCount(blockA, nA, i, blockB, nB, j, loci, x, y); };
  const Real a = n(Presence, Presence), b = n(Presence, Absence), c = n(Absence, Presence), d = n(Absence, Absence);
  const Real p = n(Presence, Missing) + n(Missing, Presence);
  const Real q = n(Absence, Missing) + n(Missing, Absence);
  const Real rr = n(Missing, Missing);
  const Real nan = std::numeric_limits<Real>::quiet_NaN();
  const auto div = [nan](Real x, Real y) { return y == 0 ? nan : x / y; };
  const bool standard = variant == SimilarityMode::Standard, minimum = variant == SimilarityMode::Minimum;
  const auto dice = [&] {
    if (standard) return div(2 * a, 2 * a + b + c);
    if (minimum) return div(2 * a, 2 * a + b + c + p + q);
    return div(2 * (a + p + rr), 2 * (a + p + rr) + b + c);
  };
  switch (coefficient) {
    case SimilarityCoefficient::Jaccard:
      if (standard) return a == 0 ? 0 : a / (a + b + c);
      if (minimum) return a == 0 ? 0 : a / (a + b + c + p + q);
      return div(a + p + rr, a + p + rr + b + c);
    case SimilarityCoefficient::Dice: return dice();
    case SimilarityCoefficient::SMC:
      if (standard) return div(a + d, a + d + b + c);
      if (minimum) return div(a + d, a + d + b + c + p + q);
      return div(a + d + p + q + rr, a + d + p + q + rr + b + c);
    case SimilarityCoefficient::NeiLi: return ReferenceNeiLi(dice(), r);
    case SimilarityCoefficient::Euclidean: return minimum ? std::sqrt(b + c + p + q) : std::sqrt(b + c);
    case SimilarityCoefficient::SqEuclidean: return minimum ? b + c + p + q : b + c;
  }
  return nan;
}

// A locus-major block of n individuals by loci with the given share of missing scores; the
// remaining scores are presences with probability presenceShare.
inline std::vector<Cell> RandomScores(std::size_t n, std::size_t loci, double missingShare, double presenceShare,
                                      std::uint32_t seed) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> uniform(0, 1);
  std::vector<Cell> cells(n * loci);
  for (auto& cell : cells) {
    cell = uniform(random) < missingShare ? Missing : uniform(random) < presenceShare ? Presence : Absence;
  }
  return cells;
}

inline DataMatrix RandomMatrix(std::size_t n, std::size_t loci, double missingShare, std::uint32_t seed) {
  DataMatrix data;
  data.individualCount = static_cast<std::uint16_t>(n);
  data.locusCount = static_cast<std::uint16_t>(loci);
  data.cells = RandomScores(n, loci, missingShare, 0.5, seed);
  data.individualLabels = MakeDefaultIndividualLabels(n);
  data.locusLabels = MakeDefaultLocusLabels(loci);
  return data;
}

// Equal, counting two not-a-number values as equal.
inline bool SameValue(Real x, Real y) { return (std::isnan(x) && std::isnan(y)) || x == y; }

// The seed of a randomised test, printed so that a failure can be repeated: a new one each run,
// or the one in VORN_TEST_SEED.
inline std::uint32_t TestSeed() {
  const char* text = std::getenv("VORN_TEST_SEED");
  const std::uint32_t seed = text ? static_cast<std::uint32_t>(std::strtoul(text, nullptr, 10)) : std::random_device()();
  std::cout << "[ seed     ] VORN_TEST_SEED=" << seed << "\n";
  return seed;
}

}  // namespace vorn::testing
