// The one rule that finds pairs without a distance, and the words that name the first of them.
#include "core/undefined_pairs.h"

#include <gtest/gtest.h>

#include <limits>

namespace vorn {
namespace {

constexpr Real kNaN = std::numeric_limits<Real>::quiet_NaN();

TEST(UndefinedPairs, TheFirstPairInRowOrderIsKeptWhateverOrderPairsCome) {
  UndefinedPairs pairs;
  pairs.Add(3, 1, UndefinedCause::NeiLi);
  pairs.Add(2, 0, UndefinedCause::ZeroDenominator);
  pairs.Add(3, 0, UndefinedCause::NotScoredInBoth);
  UndefinedPairs later;
  later.Add(4, 0, UndefinedCause::NeiLi);
  pairs.Merge(later);
  later.Merge(UndefinedPairs());
  EXPECT_EQ(pairs.count, 4u);
  EXPECT_EQ(pairs.row, 2u);
  EXPECT_EQ(pairs.column, 0u);
  EXPECT_EQ(pairs.cause, UndefinedCause::ZeroDenominator);
  EXPECT_EQ(later.count, 1u);
}

TEST(UndefinedPairs, MarkedPairsNotANumberAndTheNeiLiMarkEachCountOnce) {
  DistanceMatrix m(4);
  for (Real& entry : m.entries) entry = 0.5L;
  m(0, 0) = kNaN;  // the diagonal is no pair
  m(1, 0) = 0;     // marked: an Euclidean 0 of a pair never compared
  m(2, 1) = kNaN;  // marked and not a number: one pair
  m(3, 0) = -1;
  m(3, 2) = kNaN;
  UndefinedMarks marks{{StrictPairIndex(1, 0), StrictPairIndex(2, 1)}, UndefinedCause::NotScoredInEither, true};
  const UndefinedPairs found = FindUndefinedPairs(m, marks);
  EXPECT_EQ(found.count, 4u);
  EXPECT_EQ(found.row, 1u);
  EXPECT_EQ(found.cause, UndefinedCause::NotScoredInEither);
  EXPECT_FALSE(FindUndefinedPairs(DistanceMatrix(3), UndefinedMarks()).Any());

  // Unmarked, and not of Nei-Li distances: a negative entry is a similarity like any other.
  m(1, 0) = 0.5L;
  const UndefinedPairs unmarked = FindUndefinedPairs(m, UndefinedMarks());
  EXPECT_EQ(unmarked.count, 2u);
  EXPECT_EQ(unmarked.row, 2u);
  EXPECT_EQ(unmarked.cause, UndefinedCause::ZeroDenominator);
  marks.incomparable.clear();
  EXPECT_EQ(FindUndefinedPairs(m, marks).count, 3u);
}

TEST(UndefinedPairs, UnionKeepsThePairsOfEitherInOrder) {
  const UndefinedMarks a{{1, 4}, UndefinedCause::NotScoredInEither, false};
  const UndefinedMarks b{{0, 4, 7}, UndefinedCause::NotScoredInBoth, true};
  const UndefinedMarks both = UndefinedMarks::Union(a, b);
  EXPECT_EQ(both.incomparable, (std::vector<std::size_t>{0, 1, 4, 7}));
  EXPECT_EQ(both.incomparableCause, UndefinedCause::NotScoredInEither);
  EXPECT_TRUE(both.neiLi);
  EXPECT_EQ(UndefinedMarks::Union(UndefinedMarks{{}, UndefinedCause::NotScoredInEither, false}, b).incomparableCause,
            UndefinedCause::NotScoredInBoth);
}

TEST(UndefinedPairs, TextsNameTheFirstPairItsCauseAndTheRest) {
  const LabelTable labels({"Ka01", "Ka02", "Ri02"});
  struct Case {
    std::size_t count;
    UndefinedCause cause;
    std::string clause;
  };
  const Case cases[] = {
      {1, UndefinedCause::NotScoredInBoth, "the distance between Ka01 and Ri02 is undefined (no locus is scored in both)"},
      {2, UndefinedCause::NotScoredInEither,
       "the distance between Ka01 and Ri02 is undefined (no locus is scored in either), as is that of 1 more pair"},
      {3, UndefinedCause::ZeroDenominator,
       "the distance between Ka01 and Ri02 is undefined (its coefficient divides by 0), as are those of 2 more pairs"},
      {1, UndefinedCause::NeiLi,
       "the distance between Ka01 and Ri02 is undefined (they share too few bands for a Nei-Li distance, which is -1)"},
  };
  for (const Case& c : cases) {
    UndefinedPairs pairs;
    pairs.Add(2, 0, c.cause);
    pairs.count = c.count;
    EXPECT_EQ(UndefinedPairsClause(pairs, labels), c.clause);
  }
  UndefinedPairs pairs;
  pairs.Add(2, 1, UndefinedCause::NotScoredInBoth);
  EXPECT_EQ(UndefinedPairsRefusal(pairs, LabelTable(), "no UPGMA tree was built"),
            "The distance between OTU2 and OTU3 is undefined (no locus is scored in both); no UPGMA tree was built.");
}

}  // namespace
}  // namespace vorn
