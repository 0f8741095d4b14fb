#include "core/undefined_pairs.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace vorn {
namespace {

const char* CauseText(UndefinedCause cause) {
  switch (cause) {
    case UndefinedCause::NotScoredInBoth: return "no locus is scored in both";
    case UndefinedCause::NotScoredInEither: return "no locus is scored in either";
    case UndefinedCause::ZeroDenominator: return "its coefficient divides by 0";
    case UndefinedCause::NeiLi: return "they share too few bands for a Nei-Li distance, which is -1";
  }
  return "";
}

}  // namespace

std::string IndividualName(const LabelTable& labels, std::size_t individual) {
  return individual < labels.Count() ? labels[individual] : "OTU" + std::to_string(individual + 1);
}

UndefinedMarks UndefinedMarks::Union(const UndefinedMarks& a, const UndefinedMarks& b) {
  UndefinedMarks both;
  both.incomparableCause = a.incomparable.empty() && !b.incomparable.empty() ? b.incomparableCause : a.incomparableCause;
  both.neiLi = a.neiLi || b.neiLi;
  std::set_union(a.incomparable.begin(), a.incomparable.end(), b.incomparable.begin(), b.incomparable.end(),
                 std::back_inserter(both.incomparable));
  return both;
}

void UndefinedPairs::Add(std::size_t pairRow, std::size_t pairColumn, UndefinedCause pairCause) {
  if (count++ == 0 || StrictPairIndex(pairRow, pairColumn) < StrictPairIndex(row, column)) {
    row = pairRow;
    column = pairColumn;
    cause = pairCause;
  }
}

void UndefinedPairs::Merge(const UndefinedPairs& other) {
  if (!other.Any()) return;
  const std::size_t before = count;
  Add(other.row, other.column, other.cause);
  count = before + other.count;
}

std::optional<UndefinedCause> EntryCause(Real value, bool neiLi) {
  if (std::isnan(value)) return UndefinedCause::ZeroDenominator;
  if (neiLi && value < 0) return UndefinedCause::NeiLi;
  return std::nullopt;
}

UndefinedPairs FindUndefinedPairs(const DistanceMatrix& matrix, const UndefinedMarks& marks) {
  UndefinedPairs found;
  auto marked = marks.incomparable.begin();
  for (std::size_t i = 1, index = 0; i < matrix.n; ++i) {
    for (std::size_t j = 0; j < i; ++j, ++index) {
      if (marked != marks.incomparable.end() && *marked == index) {
        ++marked;
        found.Add(i, j, marks.incomparableCause);
      } else if (const auto cause = EntryCause(matrix(i, j), marks.neiLi)) {
        found.Add(i, j, *cause);
      }
    }
  }
  return found;
}

std::string UndefinedPairsClause(const UndefinedPairs& pairs, const LabelTable& labels) {
  std::string clause = "the distance between " + IndividualName(labels, pairs.column) + " and " + IndividualName(labels, pairs.row) +
                       " is undefined (" + CauseText(pairs.cause) + ")";
  if (pairs.count > 1) {
    const std::size_t more = pairs.count - 1;
    clause += ", as " + std::string(more == 1 ? "is that" : "are those") + " of " + std::to_string(more) +
              (more == 1 ? " more pair" : " more pairs");
  }
  return clause;
}

std::string UndefinedPairsRefusal(const UndefinedPairs& pairs, const LabelTable& labels,
                                  const std::string& consequence) {
  std::string sentence = UndefinedPairsClause(pairs, labels);
  sentence[0] = 'T';
  return sentence + "; " + consequence + ".";
}

}  // namespace vorn
