// The methods sentences of the data quality summary, from a filter log written by hand.
#include <gtest/gtest.h>

#include "quality/quality_summary.h"
#include "support/test_matrix.h"

namespace vorn {
namespace {

FilterStep Step(FilterStepKind kind, std::string phrase, MatrixCounts before, MatrixCounts after) {
  return FilterStep{kind, "report", std::move(phrase), before, after};
}

TEST(MethodsSentences, CountEachKindOfStepSinceTheLastRestore) {
  FilterLog log;
  log.loaded = {20, 583, 400};
  log.steps = {
      Step(FilterStepKind::Removal, "with >50% missing data", {20, 583, 400}, {20, 500, 100}),
      Step(FilterStepKind::Restore, "Original data matrix restored.", {20, 500, 100}, {20, 583, 400}),
      Step(FilterStepKind::Removal, "with >5% error rate between replicates", {20, 583, 400}, {20, 542, 380}),
      Step(FilterStepKind::Removal, "with >20% missing data", {20, 542, 380}, {20, 530, 300}),
      Step(FilterStepKind::Removal, "with >10% missing data", {20, 530, 300}, {19, 530, 250}),
      Step(FilterStepKind::Merge, "The replicates of 2 samples were merged.", {19, 530, 250}, {17, 530, 240}),
  };
  log.errorRate = LoggedErrorRate{3, 1500, 30, Real{30} / 1500, 1};
  MissingShares now;
  now.counts = {17, 530, 240};
  now.overall = Real{240} / (17 * 530);
  const std::vector<std::string> expected = {
      "The data matrix held 20 individuals and 583 loci with 3.43 % missing scores.",
      "Of 583 loci, 41 with >5% error rate between replicates and 12 with >20% missing data were removed, leaving 530.",
      "Of 20 individuals, 1 with >10% missing data was removed, leaving 19.",
      "The replicates of 2 samples were merged.",
      "The genotyping error rate from 3 pairs of replicate samples was 2.00 % (30 mismatches in 1500 comparisons; "
      "Bonin et al. 2004).",
      "The final matrix holds 17 individuals and 530 loci with 2.66 % missing scores.",
  };
  EXPECT_EQ(MethodsSentences(log, now), expected);
}

TEST(MissingShares, SpreadOverIndividualsAndLoci) {
  // Individuals miss 0, 2, 2 of 4 scores; loci 1, 0, 2, 1 of 3.
  const DataMatrix m = testing::MatrixFromRows({"1010", "01??", "?1?1"});
  const MissingShares shares = MissingSharesOf(m);
  EXPECT_EQ(shares.counts, (MatrixCounts{3, 4, 4}));
  EXPECT_EQ(shares.individuals.least, 0);
  EXPECT_EQ(shares.individuals.median, Real{1} / 2);
  EXPECT_EQ(shares.individuals.greatest, Real{1} / 2);
  EXPECT_EQ(shares.loci.least, 0);
  EXPECT_EQ(shares.loci.median, Real{1} / 3);
  EXPECT_EQ(shares.loci.greatest, Real{2} / 3);
}

TEST(MethodsSentences, NameOnlyTheSelectionTheDataAreLeftWith) {
  FilterLog log;
  log.loaded = {10, 5, 0};
  const FilterStep group = Step(FilterStepKind::Selection, "The analyses used the group AllData/A.", {10, 5, 0}, {4, 5, 0});
  const FilterStep whole = Step(FilterStepKind::Selection, "", {4, 5, 0}, {10, 5, 0});
  MissingShares now;
  struct Case {
    std::vector<FilterStep> steps;
    std::size_t sentences;
  };
  for (const Case& c : {Case{{group}, 3}, Case{{group, whole}, 2}, Case{{whole, group}, 3}}) {
    log.steps = c.steps;
    now.counts = c.steps.back().after;
    const auto sentences = MethodsSentences(log, now);
    EXPECT_EQ(sentences.size(), c.sentences);
    if (c.sentences == 3) EXPECT_EQ(sentences[1], "The analyses used the group AllData/A.");
  }
}

}  // namespace
}  // namespace vorn
