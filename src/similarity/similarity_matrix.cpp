#include "similarity/similarity_matrix.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "core/progress.h"
#include "similarity/coefficient_names.h"
#include "similarity/coefficients.h"

namespace vorn {
namespace {

// Rows are filled in bands of kBandRows rows, each band tile by tile of kTileColumns columns
// (or as many as the scores count at once): the band's masks and one tile's stay in the
// second-level cache while the tile is counted against every row of the band, instead of every
// row streaming all earlier rows from memory.
constexpr std::size_t kBandRows = 16;
constexpr std::size_t kTileColumns = 64;

// The fill shared by plain and weighted scores: each thread's counter = newCounter() gives with
// counter(i, first, last, counts) the counts of individual i with individuals first .. last - 1.
// Each entry is computed from its own pair alone, so the order of the tiles changes no bit. With
// a transformation each entry is turned into its distance as it is computed.
template <typename Scores, typename NewCounter>
Result<SimilarityFill> Fill(const Scores& scores, SimilarityMode variant, SimilarityCoefficient coefficient,
                            Real neiLiR, std::optional<DistanceTransformation> transformation,
                            NewCounter newCounter, std::size_t tileColumns, bool countComparable = false) {
  if (!IsKnown(coefficient)) {
    return Failure{"VornCore: Unknown coeffient " + std::to_string(static_cast<int>(variant) + 1)};
  }
  MaskedFloatingPointExceptions masked;
  const std::size_t n = scores.IndividualCount();
  SimilarityFill fill;
  fill.matrix = DistanceMatrix(n);
  Real* entries = fill.matrix.entries.data();
  std::size_t undefined = 0;
  fill.marks.incomparableCause = IncomparableCause(variant);
  fill.marks.neiLi = coefficient == SimilarityCoefficient::NeiLi;
  if (countComparable) fill.comparable.assign(TriangleSize(n), 0);
  // Small matrices are filled faster than threads meet, above all when other programs keep
  // the cores busy. Bands grow with their rows, so they are handed out one at a time.
  const bool parallel = TriangleSize(n) * scores.WordCount() >= kParallelSimilarityWork;
  const std::size_t bands = (n + kBandRows - 1) / kBandRows;
#pragma omp parallel if (parallel) reduction(+ : undefined)
  {
    std::vector<PairCounts> counts(tileColumns);  // for each thread
    auto countPairs = newCounter();
    std::vector<std::size_t> incomparable;
#pragma omp for schedule(dynamic, 1)
    for (std::size_t band = 0; band < bands; ++band) {
      KeepResponsive();  // acts only on the thread that runs the command
      const std::size_t top = band * kBandRows, bottom = std::min(n, top + kBandRows);
      for (std::size_t first = 0; first < bottom; first += tileColumns) {
        for (std::size_t i = std::max(top, first); i < bottom; ++i) {
          const std::size_t last = std::min(i + 1, first + tileColumns);
          Real* values = entries + TriangleIndex(i, 0) + first;
          countPairs(i, first, last, counts.data());
          if (countComparable) {
            std::uint32_t* comparable = fill.comparable.data() + TriangleIndex(i, 0) + first;
            for (std::size_t k = 0; k < last - first; ++k) {
              comparable[k] = counts[k].a + counts[k].bPlusC + counts[k].d;
            }
          }
          for (std::size_t j = first; j < std::min(last, i); ++j) {
            if (ComparesNothing(variant, counts[j - first])) incomparable.push_back(StrictPairIndex(i, j));
          }
          if (transformation) {
            undefined += DistanceValues(coefficient, variant, counts.data(), last - first, neiLiR, *transformation,
                                        values);
            continue;
          }
          CoefficientValues(coefficient, variant, counts.data(), last - first, neiLiR, values);
          if (coefficient == SimilarityCoefficient::NeiLi) {
            undefined += std::count(values, values + (last - first), kUndefinedNeiLi);
          }
        }
      }
    }
#pragma omp critical
    fill.marks.incomparable.insert(fill.marks.incomparable.end(), incomparable.begin(), incomparable.end());
  }
  std::sort(fill.marks.incomparable.begin(), fill.marks.incomparable.end());
  fill.undefinedNeiLiPairs = undefined;
  return fill;
}

}  // namespace

Result<SimilarityFill> BuildSimilarityMatrix(const PackedScores& scores, SimilarityMode variant,
                                             SimilarityCoefficient coefficient, Real neiLiR, bool countComparable) {
  const auto newCounter = [&] {
    return [&](std::size_t i, std::size_t first, std::size_t last, PairCounts* counts) {
      CountPairs(scores, i, scores, first, last, counts);
    };
  };
  return Fill(scores, variant, coefficient, neiLiR, std::nullopt, newCounter, kTileColumns, countComparable);
}

Result<SimilarityFill> BuildSimilarityMatrix(const WeightedScores& scores, SimilarityMode variant,
                                             SimilarityCoefficient coefficient, Real neiLiR,
                                             std::optional<DistanceTransformation> transformation) {
  // The Standard treatment reads no q, p or r, and only the simple matching coefficient reads d
  // beyond whether a pair compares anything.
  const CountsRead read = variant != SimilarityMode::Standard ? CountsRead::All
                          : coefficient == SimilarityCoefficient::SMC ? CountsRead::Standard
                                                                       : CountsRead::StandardBands;
  return Fill(scores, variant, coefficient, neiLiR, transformation,
              [&] { return WeightedScores::Counter(scores, read); }, scores.TileColumns(read));
}

Result<SimilarityFill> BuildSimilarityMatrix(const DataMatrix& data, SimilarityMode variant,
                                             const SimilaritySettings& settings, bool countComparable) {
  return BuildSimilarityMatrix(PackedScores(data), variant, settings.coefficient, settings.neiLiR, countComparable);
}

}  // namespace vorn
