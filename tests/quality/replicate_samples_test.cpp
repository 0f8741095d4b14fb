// Replicate samples: declaring them by name and by groups, their error rates against a direct
// count on matrices with planted mismatches, the error-rate filter, and the merged profiles.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "quality/merge_replicates.h"
#include "quality/replicate_error_rates.h"
#include "quality/replicate_samples.h"
#include "support/test_matrix.h"

namespace vorn {
namespace {

using testing::MatrixFromRows;

LabelTable Labels(std::vector<std::string> names) { return LabelTable(std::move(names)); }

std::vector<std::vector<std::uint32_t>> Members(const std::vector<ReplicateSample>& samples) {
  std::vector<std::vector<std::uint32_t>> members;
  for (const auto& sample : samples) members.push_back(sample.individuals);
  return members;
}

TEST(ReplicatesByName, TheDefaultSuffixFindsEachStyle) {
  struct Case {
    std::vector<std::string> names;
    std::vector<std::string> stems;
    std::vector<std::vector<std::uint32_t>> members;
  };
  const Case cases[] = {
      {{"S1", "S1_r", "S2", "S2_rep2", "S3"}, {"S1", "S2"}, {{0, 1}, {2, 3}}},
      {{"K7-R", "X", "K7"}, {"K7"}, {{0, 2}}},
      {{"A12a", "A12b", "A12c", "B1"}, {"A12"}, {{0, 1, 2}}},
      {{"P1_1", "P1_2", "P2"}, {}, {}},  // a number after "_" is no replicate suffix
      {{"a", "b"}, {}, {}},              // a name that is all suffix is its own stem
  };
  for (const Case& c : cases) {
    const auto samples = ReplicatesByName(Labels(c.names), kDefaultReplicateSuffix);
    ASSERT_TRUE(samples.ok());
    std::vector<std::string> stems;
    for (const auto& sample : *samples) stems.push_back(sample.stem);
    EXPECT_EQ(stems, c.stems) << c.names[0];
    EXPECT_EQ(Members(*samples), c.members) << c.names[0];
  }
}

TEST(ReplicatesByName, APatternThatIsNoRegularExpressionIsNamed) {
  const auto samples = ReplicatesByName(Labels({"a"}), "([_");
  ASSERT_FALSE(samples.ok());
  EXPECT_EQ(samples.error(), "The replicate suffix \"([_\" is not a regular expression.");
}

TEST(ReplicatesByGroups, EachGroupOfTheLevelWithTwoMembersIsASample) {
  const LabelTable labels = Labels({"x", "y", "z", "w"});
  GroupList groups = {{"AllData", {"x", "y", "z", "w"}}, {"AllData/S1", {"x", "z"}}, {"AllData/S2", {"y"}}};
  auto samples = ReplicatesByGroups(labels, groups, 1);
  ASSERT_TRUE(samples.ok());
  ASSERT_EQ(samples->size(), 1u);
  EXPECT_EQ((*samples)[0].name, "AllData/S1");
  EXPECT_EQ((*samples)[0].stem, "S1");
  EXPECT_EQ((*samples)[0].individuals, (std::vector<std::uint32_t>{0, 2}));

  groups.push_back({"AllData/S3", {"z", "w"}});
  samples = ReplicatesByGroups(labels, groups, 1);
  ASSERT_FALSE(samples.ok());
  EXPECT_EQ(samples.error(),
            "\"z\" is a replicate in both AllData/S1 and AllData/S3; each individual can be a replicate of one sample only.");
}

// The plain count: every pair of every sample, locus by locus.
ErrorRates DirectCount(const DataMatrix& m, const std::vector<ReplicatePair>& pairs) {
  ErrorRates rates;
  rates.loci.resize(m.locusCount);
  rates.individuals.resize(m.individualCount);
  for (const auto& pair : pairs) {
    MismatchCount count;
    for (std::size_t l = 0; l < m.locusCount; ++l) {
      const Cell a = m.At(pair.first, l), b = m.At(pair.second, l);
      if (a == Missing || b == Missing) continue;
      ++count.compared, ++rates.loci[l].compared, ++rates.individuals[pair.first].compared,
          ++rates.individuals[pair.second].compared;
      if (a != b) {
        ++count.mismatches, ++rates.loci[l].mismatches, ++rates.individuals[pair.first].mismatches,
            ++rates.individuals[pair.second].mismatches;
      }
    }
    rates.overall.compared += count.compared;
    rates.overall.mismatches += count.mismatches;
    rates.pairs.push_back({pair, count});
  }
  return rates;
}

TEST(ReplicateErrors, EqualADirectCountOnMatricesWithPlantedMismatches) {
  for (unsigned seed = 1; seed <= 20; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 engine(seed);
    const std::size_t samples = 6, loci = 1 + engine() % 130;
    // Each sample's first replicate drawn at random; its copies differ at planted loci.
    DataMatrix m = testing::RandomMatrix(samples * 3, loci, 0.0, 0.5, engine);
    std::vector<ReplicateSample> declared;
    std::size_t planted = 0;
    for (std::uint32_t s = 0; s < samples; ++s) {
      const std::uint32_t first = s * 3;
      const std::uint32_t copies = 1 + s % 2;  // pairs of two and sets of three
      ReplicateSample sample{"s" + std::to_string(s), "s", {first}};
      for (std::uint32_t c = 1; c <= copies; ++c) {
        sample.individuals.push_back(first + c);
        for (std::size_t l = 0; l < loci; ++l) {
          Cell& cell = m.cells[m.Position(first + c, l)];
          cell = m.At(first, l);
          if (engine() % 10 == 0) cell = Cell(1 - cell), ++planted;
        }
      }
      declared.push_back(sample);
    }
    const auto pairs = PairsOf(declared);
    auto rates = CountReplicateErrors(m, pairs);
    ASSERT_TRUE(rates.ok());
    // Without missing scores, a pair with the first replicate shows exactly its copy's planted changes.
    std::size_t withFirst = 0;
    for (const auto& pair : rates->pairs) {
      if (pair.pair.first % 3 == 0) withFirst += pair.count.mismatches;
    }
    EXPECT_EQ(withFirst, planted);

    // With missing scores sprinkled over, the counts follow the direct count.
    for (Cell& cell : m.cells) {
      if (engine() % 7 == 0) cell = Missing;
    }
    rates = CountReplicateErrors(m, pairs);
    ASSERT_TRUE(rates.ok());
    const ErrorRates direct = DirectCount(m, pairs);
    EXPECT_EQ(rates->overall.compared, direct.overall.compared);
    EXPECT_EQ(rates->overall.mismatches, direct.overall.mismatches);
    ASSERT_EQ(rates->pairs.size(), direct.pairs.size());
    for (std::size_t p = 0; p < direct.pairs.size(); ++p) {
      EXPECT_EQ(rates->pairs[p].count.compared, direct.pairs[p].count.compared);
      EXPECT_EQ(rates->pairs[p].count.mismatches, direct.pairs[p].count.mismatches);
    }
    for (std::size_t l = 0; l < loci; ++l) {
      EXPECT_EQ(rates->loci[l].compared, direct.loci[l].compared);
      EXPECT_EQ(rates->loci[l].mismatches, direct.loci[l].mismatches);
    }
    for (std::size_t i = 0; i < m.individualCount; ++i) {
      EXPECT_EQ(rates->individuals[i].compared, direct.individuals[i].compared);
      EXPECT_EQ(rates->individuals[i].mismatches, direct.individuals[i].mismatches);
    }
  }
}

TEST(ReplicateErrors, PairMeanAndRangeLeaveOutPairsWithoutAComparison) {
  // Pair 1: 1 of 4 mismatching; pair 2: 2 of 2; pair 3: nothing scored in both.
  const DataMatrix m = MatrixFromRows({"1100", "1101", "10??", "01??", "??11", "00??"});
  const auto rates = CountReplicateErrors(m, {{0, 0, 1}, {1, 2, 3}, {2, 4, 5}});
  ASSERT_TRUE(rates.ok());
  EXPECT_EQ(rates->overall.compared, 6u);
  EXPECT_EQ(rates->overall.mismatches, 3u);
  EXPECT_EQ(rates->definedPairs, 2u);
  EXPECT_EQ(rates->pairMean, (Real{1} / 4 + 1) / 2);
  EXPECT_EQ(rates->pairLeast, Real{1} / 4);
  EXPECT_EQ(rates->pairGreatest, 1);
  EXPECT_FALSE(rates->pairs[2].count.Defined());
}

TEST(ErrorRateRemoval, RemovesLociAboveTheThresholdStrictlyAndThoseScoredInTooFewPairs) {
  // Loci: 0 of 2 pairs mismatch, 1 of 2, 2 of 2, 0 of 1 (one pair missing), none scored.
  const DataMatrix m = MatrixFromRows({"0101?", "001??", "1110?", "1100?"});
  const auto rates = CountReplicateErrors(m, {{0, 0, 1}, {1, 2, 3}});
  ASSERT_TRUE(rates.ok());
  struct Case {
    double threshold;
    std::size_t leastPairs;
    std::vector<std::string> kept;
  };
  const Case cases[] = {
      {0.5, 0, {"l1", "l2", "l4", "l5"}},  // 1 of 2 sits at the threshold and stays
      {0.49, 0, {"l1", "l4", "l5"}},
      {1.0, 2, {"l1", "l2", "l3"}},
      {0.0, 1, {"l1", "l4"}},
  };
  for (const Case& c : cases) {
    const auto removal = RemoveLociWithErrorRateAbove(m, *rates, c.threshold, c.leastPairs);
    ASSERT_TRUE(removal.ok());
    EXPECT_EQ(removal->matrix.locusLabels.All(), c.kept) << c.threshold << " " << c.leastPairs;
    EXPECT_EQ(removal->removedCount, 5 - c.kept.size());
  }
}

TEST(MergeReplicates, GivesTheDocumentedProfile) {
  // Three replicates of one sample (rows 0, 2, 3) and an individual between them; locus by locus:
  // agree 1; agree 0 with a missing one; all missing; disagree; disagree with the first missing.
  const DataMatrix m = MatrixFromRows({"10?1?", "11111", "1??00", "10?01"});
  const std::vector<ReplicateSample> samples = {{"i", "stem", {0, 2, 3}}};
  struct Case {
    Disagreement rule;
    std::string merged;
    std::size_t madeMissing;
  };
  for (const Case& c : {Case{Disagreement::Missing, "10???", 2}, Case{Disagreement::FirstReplicate, "10?1?", 1}}) {
    auto merged = MergeReplicates(m, samples, c.rule, MergedName::Stem);
    ASSERT_TRUE(merged.ok());
    EXPECT_EQ(merged->matrix, [&] {
      DataMatrix expected = MatrixFromRows({c.merged, "11111"});
      expected.individualLabels = LabelTable({"stem", "i2"});
      return expected;
    }());
    EXPECT_EQ(merged->dropped, 2u);
    EXPECT_EQ(merged->disagreements, 2u);
    EXPECT_EQ(merged->madeMissing, c.madeMissing);
    EXPECT_EQ(merged->names, std::vector<std::string>{"stem"});
  }
  const auto kept = MergeReplicates(m, samples, Disagreement::Missing, MergedName::FirstReplicate);
  ASSERT_TRUE(kept.ok());
  EXPECT_EQ(kept->matrix.individualLabels.All(), (std::vector<std::string>{"i1", "i2"}));
}

TEST(MergeReplicates, RefusesAStemThatNamesAnotherIndividual) {
  const DataMatrix m = MatrixFromRows({"1", "1", "0"});
  const auto merged = MergeReplicates(m, {{"i3", "i3", {0, 1}}}, Disagreement::Missing, MergedName::Stem);
  ASSERT_FALSE(merged.ok());
  EXPECT_EQ(merged.error(), "The merged individual \"i3\" would carry the name of another individual of the data.");
}

TEST(MergeReplicates, GroupsListTheMergedIndividualOnceAndRestoreGivesThemBackTheirReplicates) {
  GroupState state;
  state.groups = {{"AllData", {"a", "a_r", "b", "c", "c2"}}, {"AllData/P", {"a_r", "b"}}, {"AllData/Q", {"a", "a_r", "c2"}}};
  const GroupList loaded = state.groups;
  MergeGroupMembers(state, Labels({"a", "a_r", "b", "c", "c2"}), {{"a", "a", {0, 1}}}, {"a"});
  EXPECT_EQ(state.groups[0].members, (std::vector<std::string>{"a", "b", "c", "c2"}));
  EXPECT_EQ(state.groups[1].members, (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(state.groups[2].members, (std::vector<std::string>{"a", "c2"}));
  // A second merge takes a merged individual in; a group made after it holds only that one.
  state.groups.push_back({"AllData/New", {"b", "a"}});
  MergeGroupMembers(state, Labels({"a", "b", "c", "c2"}), {{"s", "s", {0, 2, 3}}}, {"s"});
  EXPECT_EQ(state.groups[0].members, (std::vector<std::string>{"s", "b"}));
  EXPECT_EQ(state.mergedFrom, (std::map<std::string, std::vector<std::string>>{{"s", {"a", "a_r", "c", "c2"}}}));
  RestoreMergedMembers(state);
  for (std::size_t g = 0; g < loaded.size(); ++g) {
    std::vector<std::string> expected = loaded[g].members, restored = state.groups[g].members;
    std::ranges::sort(expected);
    std::ranges::sort(restored);
    EXPECT_EQ(restored, expected) << loaded[g].name;
  }
  EXPECT_EQ(state.groups[3].members, (std::vector<std::string>{"b", "a", "a_r"}));
  EXPECT_TRUE(state.mergedFrom.empty());
}

}  // namespace
}  // namespace vorn
