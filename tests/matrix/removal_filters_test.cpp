#include "matrix/removal_filters.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <random>

#include "core/number_input.h"
#include "matrix/monomorphic.h"
#include "support/test_matrix.h"

namespace vorn {
namespace {

using testing::MatrixFromRows;
using testing::RandomMatrix;

// A locus given by its scores; the individuals are the characters.
DataMatrix LocusOf(const std::string& scores) {
  std::vector<std::string> rows;
  for (char c : scores) rows.push_back(std::string(1, c));
  return MatrixFromRows(rows);
}

BandCounts CountsOf(const std::string& scores) { return CountRows(LocusOf(scores), RowKind::Loci)[0]; }

// The plain reference: decide each row from scores read one by one, then build the kept matrix
// cell by cell.
DataMatrix ReferenceRemoval(const DataMatrix& m, RowKind rows, const std::function<bool(std::size_t p, std::size_t a, std::size_t miss, std::size_t length)>& removes,
                            std::size_t& removed) {
  const bool loci = rows == RowKind::Loci;
  const std::size_t count = loci ? m.locusCount : m.individualCount;
  const std::size_t length = loci ? m.individualCount : m.locusCount;
  std::vector<std::size_t> kept;
  for (std::size_t row = 0; row < count; ++row) {
    std::size_t p = 0, a = 0, miss = 0;
    for (std::size_t k = 0; k < length; ++k) {
      const Cell c = loci ? m.At(k, row) : m.At(row, k);
      p += c == Presence;
      a += c == Absence;
      miss += c == Missing;
    }
    if (!removes(p, a, miss, length)) kept.push_back(row);
  }
  removed = count - kept.size();
  DataMatrix result;
  result.individualCount = static_cast<std::uint16_t>(loci ? m.individualCount : kept.size());
  result.locusCount = static_cast<std::uint16_t>(loci ? kept.size() : m.locusCount);
  result.cells.resize(result.CellCount());
  std::vector<std::string> keptLabels;
  for (std::size_t k = 0; k < kept.size(); ++k) {
    keptLabels.push_back(loci ? m.locusLabels[kept[k]] : m.individualLabels[kept[k]]);
    for (std::size_t other = 0; other < length; ++other) {
      if (loci) result.cells[result.Position(other, k)] = m.At(other, kept[k]);
      else result.cells[result.Position(k, other)] = m.At(kept[k], other);
    }
  }
  result.individualLabels = loci ? m.individualLabels : LabelTable(keptLabels);
  result.locusLabels = loci ? LabelTable(keptLabels) : m.locusLabels;
  return result;
}

TEST(RemovalFilters, EveryCriterionMatchesThePlainReferenceOnRandomData) {
  const unsigned seed = std::random_device{}();
  std::printf("seed %u\n", seed);
  std::mt19937 engine(seed);
  const double t = 0.3;
  auto frac = [](std::size_t x, std::size_t n) { return static_cast<double>(x) / static_cast<double>(n); };
  struct Case {
    const char* name;
    std::function<Result<Removal>(const DataMatrix&)> filter;
    RowKind rows;
    std::function<bool(std::size_t, std::size_t, std::size_t, std::size_t)> removes;
  };
  const std::vector<Case> cases = {
      {"individuals missing", [&](const DataMatrix& m) { return RemoveIndividualsWithMissingData(m, t); }, RowKind::Individuals,
       [&](auto, auto, auto miss, auto n) { return frac(miss, n) > t; }},
      {"individuals below", [&](const DataMatrix& m) { return RemoveIndividualsWithFrequencyBelow(m, t); }, RowKind::Individuals,
       [&](auto p, auto, auto, auto n) { return frac(p, n) < t; }},
      {"individuals above", [&](const DataMatrix& m) { return RemoveIndividualsWithFrequencyAbove(m, t); }, RowKind::Individuals,
       [&](auto p, auto, auto, auto n) { return frac(p, n) > t; }},
      {"loci missing", [&](const DataMatrix& m) { return RemoveLociWithMissingData(m, t); }, RowKind::Loci,
       [&](auto, auto, auto miss, auto n) { return frac(miss, n) > t; }},
      {"loci below", [&](const DataMatrix& m) { return RemoveLociWithFrequencyBelow(m, t); }, RowKind::Loci,
       [&](auto p, auto, auto, auto n) { return frac(p, n) < t; }},
      {"loci above", [&](const DataMatrix& m) { return RemoveLociWithFrequencyAbove(m, t); }, RowKind::Loci,
       [&](auto p, auto, auto, auto n) { return frac(p, n) > t; }},
      {"more missing", RemoveLociWithMoreMissingThanPresences, RowKind::Loci,
       [](auto p, auto, auto miss, auto) { return miss > p; }},
      {"monomorphic", [](const DataMatrix& m) { return RemoveMonomorphicLoci(m, MonomorphicKinds::Both); }, RowKind::Loci,
       [](auto p, auto a, auto miss, auto) { return (a == 0 && p >= miss) || (p == 0 && a >= miss); }},
      {"monomorphic absences", [](const DataMatrix& m) { return RemoveMonomorphicLoci(m, MonomorphicKinds::Absences); },
       RowKind::Loci, [](auto p, auto a, auto miss, auto) { return p == 0 && a >= miss; }},
      {"monomorphic presences", [](const DataMatrix& m) { return RemoveMonomorphicLoci(m, MonomorphicKinds::Presences); },
       RowKind::Loci, [](auto p, auto a, auto miss, auto) { return a == 0 && p >= miss; }},
  };
  for (std::size_t loci : {1u, 63u, 64u, 65u, 129u}) {
    for (std::size_t individuals : {1u, 2u, 7u, 40u}) {
      // Few individuals and rare presences make monomorphic and all-missing rows common.
      const DataMatrix m = RandomMatrix(individuals, loci, 0.25, individuals < 5 ? 0.2 : 0.4, engine);
      for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + ", " + std::to_string(individuals) + " x " + std::to_string(loci));
        std::size_t removed = 0;
        const DataMatrix expected = ReferenceRemoval(m, c.rows, c.removes, removed);
        const auto result = c.filter(m);
        const std::size_t rowCount = c.rows == RowKind::Loci ? loci : individuals;
        if (removed == rowCount) {
          ASSERT_FALSE(result.ok());
          EXPECT_EQ(result.error(), c.rows == RowKind::Loci ? kEveryLocusRemoved : kEveryIndividualRemoved);
          continue;
        }
        ASSERT_TRUE(result.ok()) << result.error();
        EXPECT_EQ(result->removedCount, removed);
        EXPECT_EQ(result->matrix, expected);
      }
    }
  }
}

TEST(RemovalFilters, MonomorphicRuleCountsMissingScoresAgainstIt) {
  EXPECT_TRUE(IsMonomorphic(CountsOf("1111????"), MonomorphicKinds::Presences));
  EXPECT_FALSE(IsMonomorphic(CountsOf("111????")));
  EXPECT_TRUE(IsMonomorphic(CountsOf("00??"), MonomorphicKinds::Absences));
  EXPECT_FALSE(IsMonomorphic(CountsOf("00??"), MonomorphicKinds::Presences));
  EXPECT_FALSE(IsMonomorphic(CountsOf("1111"), MonomorphicKinds::Absences));
  EXPECT_FALSE(IsMonomorphic(CountsOf("????")));
  EXPECT_FALSE(IsMonomorphic(CountsOf("10")));
  EXPECT_FALSE(IsMonomorphic(CountsOf("1111"), MonomorphicKinds::None));
}

TEST(RemovalFilters, HasMonomorphicLoci) {
  EXPECT_FALSE(*HasMonomorphicLoci(MatrixFromRows({"1?0", "0?1", "1??"})));
  EXPECT_TRUE(*HasMonomorphicLoci(MatrixFromRows({"10", "0?", "10"})));
  const auto error = HasMonomorphicLoci(MatrixFromRows({"10", "0x"}));
  ASSERT_FALSE(error.ok());
  EXPECT_EQ(error.error(), "Data matrix error.");
}

TEST(RemovalFilters, ALocusMissingEverywhereGoesWithMissingDataAndMoreMissingThanPresences) {
  const DataMatrix m = MatrixFromRows({"?1", "?0", "?1"});
  EXPECT_EQ(RemoveMonomorphicLoci(m, MonomorphicKinds::Both)->removedCount, 0u);
  EXPECT_EQ(RemoveLociWithMoreMissingThanPresences(m)->removedCount, 1u);
  EXPECT_EQ(RemoveLociWithMissingData(m, 0.99)->removedCount, 1u);
  EXPECT_EQ(RemoveLociWithMissingData(m, 1.0)->removedCount, 0u);
}

TEST(RemovalFilters, MissingDataThresholdsZeroAndNinetyNine) {
  // Individuals with 0, 1 and all 100 of 100 scores missing.
  const std::string clean(100, '1');
  std::string one = clean;
  one[5] = '?';
  const DataMatrix m = MatrixFromRows({clean, one, std::string(100, '?')});
  EXPECT_EQ(RemoveIndividualsWithMissingData(m, 0.0)->removedCount, 2u);
  const auto at99 = RemoveIndividualsWithMissingData(m, 0.99);
  EXPECT_EQ(at99->removedCount, 1u);
  EXPECT_EQ(at99->matrix.individualLabels.All(), (std::vector<std::string>{"i1", "i2"}));
}

// A row exactly at a threshold typed as a percentage (two decimals at most) stays with both the
// "below" and the "above" filter, for every such share of up to 200 individuals.
TEST(RemovalFilters, ARowExactlyAtATypedThresholdIsKept) {
  for (std::size_t n = 1; n <= 200; ++n) {
    for (std::size_t p = 0; p <= n; ++p) {
      if (p * 10000 % n != 0) continue;
      const std::size_t hundredths = p * 10000 / n;
      char text[32];
      std::snprintf(text, sizeof text, "%zu.%02zu", hundredths / 100, hundredths % 100);
      const double t = *ParsePercentAsFraction(text);
      // The second individual, present everywhere, goes with "above" unless the threshold is 100 %.
      const DataMatrix m = MatrixFromRows({std::string(p, '1') + std::string(n - p, '0'), std::string(n, '1')});
      SCOPED_TRACE(text);
      ASSERT_EQ(RemoveIndividualsWithFrequencyBelow(m, t)->removedCount, 0u);
      ASSERT_EQ(RemoveIndividualsWithFrequencyAbove(m, t)->removedCount, p == n ? 0u : 1u);
    }
  }
}

TEST(RemovalFilters, LabelsFollowTheKeptRowsAndAbsentLabelsStayAbsent) {
  const DataMatrix m = MatrixFromRows({"1011", "1?11", "1000"});
  const auto loci = RemoveMonomorphicLoci(m, MonomorphicKinds::Presences);
  EXPECT_EQ(loci->removedCount, 1u);
  EXPECT_EQ(loci->matrix.locusLabels.All(), (std::vector<std::string>{"l2", "l3", "l4"}));
  EXPECT_EQ(loci->matrix.individualLabels, m.individualLabels);

  const auto unlabelled = RemoveIndividualsWithFrequencyAbove(MatrixFromRows({"1011", "1000"}, false), 0.5);
  EXPECT_EQ(unlabelled->removedCount, 1u);
  EXPECT_TRUE(unlabelled->matrix.individualLabels.Empty());
  EXPECT_EQ(unlabelled->matrix.cells, (std::vector<Cell>{1, 0, 0, 0}));
}

TEST(RemovalFilters, NothingToRemoveGivesTheSameMatrix) {
  const DataMatrix m = MatrixFromRows({"10", "01"});
  const auto result = RemoveLociWithMoreMissingThanPresences(m);
  EXPECT_EQ(result->removedCount, 0u);
  EXPECT_EQ(result->matrix, m);
  EXPECT_EQ(RemoveMonomorphicLoci(MatrixFromRows({"11", "11"}), MonomorphicKinds::None)->removedCount, 0u);
}

TEST(RemovalFilters, ACodeOutsideZeroOneNineRemovesNothing) {
  const DataMatrix m = MatrixFromRows({"10", "0x"});
  for (const auto& result : {RemoveIndividualsWithMissingData(m, 0.5), RemoveLociWithFrequencyAbove(m, 0.5)}) {
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error(), "Data matrix error.");
  }
}

TEST(RemovalFilters, ARemovalThatWouldEmptyTheMatrixIsRefused) {
  const DataMatrix m = MatrixFromRows({"11", "1?"});
  const auto loci = RemoveMonomorphicLoci(m, MonomorphicKinds::Both);
  ASSERT_FALSE(loci.ok());
  EXPECT_EQ(loci.error(), "Every locus would be removed, leaving an empty data matrix. Nothing was removed.");
  const auto individuals = RemoveIndividualsWithMissingData(MatrixFromRows({"?1", "1?"}), 0.0);
  ASSERT_FALSE(individuals.ok());
  EXPECT_EQ(individuals.error(), "Every individual would be removed, leaving an empty data matrix. Nothing was removed.");
}

}  // namespace
}  // namespace vorn
