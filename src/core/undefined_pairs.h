// Pairs of individuals that have no distance, and the one rule by which every command that takes
// distances finds them. A pair has none when nothing of the two can be compared (no locus scored
// in both, under the Standard treatment of missing scores; none scored in either, under the
// Minimum and the Average), when its coefficient divides by 0 (a not-a-number entry), or when its
// Nei-Li distance is undefined (the -1 entry). The similarity commands keep and write such
// entries as computed; the trees, the ordination, the AMOVA and the Mantel test refuse them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/distance_matrix.h"
#include "core/label_table.h"

namespace vorn {

enum class UndefinedCause : std::uint8_t { NotScoredInBoth, NotScoredInEither, ZeroDenominator, NeiLi };

// What the entries of a matrix do not tell of its pairs without a distance: the pairs with
// nothing to compare, whose entry may look like a distance (an Euclidean 0), as pair indices of
// the strict lower triangle ((i, j), i > j, at i (i - 1) / 2 + j) ascending, with the cause they
// share; and whether the matrix holds Nei-Li distances, whose -1 marks an undefined one.
struct UndefinedMarks {
  std::vector<std::size_t> incomparable;
  UndefinedCause incomparableCause = UndefinedCause::NotScoredInBoth;
  bool neiLi = false;

  // The marks of a matrix drawn between two bounds: the pairs of either, in order, with the
  // cause of the first that has any.
  static UndefinedMarks Union(const UndefinedMarks& a, const UndefinedMarks& b);
};

inline std::size_t StrictPairIndex(std::size_t i, std::size_t j) { return i * (i - 1) / 2 + j; }

// How many pairs have no distance, and the first of them in row order (rows i = 1 .. N - 1, in
// each j = 0 .. i - 1) with its cause.
struct UndefinedPairs {
  std::size_t count = 0;
  std::size_t row = 0, column = 0;  // the first pair, row > column
  UndefinedCause cause = UndefinedCause::ZeroDenominator;

  bool Any() const { return count > 0; }
  // Counts pair (row, column), row > column; the first pair stays the first in row order
  // whatever order the pairs come in.
  void Add(std::size_t row, std::size_t column, UndefinedCause cause);
  void Merge(const UndefinedPairs& other);
};

// Why an entry (a coefficient or the distance made of it) is no distance, if it is none: it is
// not a number (a coefficient that divides by 0), or negative in a matrix of Nei-Li distances
// (the undefined distance, -1, which every distance transformation keeps).
std::optional<UndefinedCause> EntryCause(Real value, bool neiLi);

// The pairs of a matrix (coefficients or the distances made of them) without a distance: those
// marked as incomparable, and the entries off the diagonal that EntryCause refuses.
UndefinedPairs FindUndefinedPairs(const DistanceMatrix& matrix, const UndefinedMarks& marks);

// The name messages give individual (from 0): its label, or "OTU7" when there are no labels.
std::string IndividualName(const LabelTable& labels, std::size_t individual);

// "the distance between a1 and b1 is undefined (no locus is scored in both), as are those of
// 2 more pairs", the individuals named by labels (or "OTU1" ... when there are none).
std::string UndefinedPairsClause(const UndefinedPairs& pairs, const LabelTable& labels);

// The refusal of a command that cannot take pairs without a distance: the clause as a sentence
// followed by "; " and the consequence ("no UPGMA tree was built") and a full stop.
std::string UndefinedPairsRefusal(const UndefinedPairs& pairs, const LabelTable& labels,
                                  const std::string& consequence);

}  // namespace vorn
