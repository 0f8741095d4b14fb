// The replicate-sample commands through the program: the filter log after a sequence of filters
// holds the counts the filters reported, restoring gives the groups their replicates back, and a
// declaration that finds no replicates is refused.
#include <gtest/gtest.h>

#include "support/command_fixture.h"

namespace vorn {
namespace {

// A, A_r and B, B_r are replicates. Loci (rows): l3 mismatches in both pairs, l5 in B's pair;
// l7 is missing in B_r, l8 in all four replicates; C misses l6.
constexpr const char* kData =
    "A A_r B B_r C D\n"
    "1 1 0 0 1 0\n"
    "0 0 1 1 1 0\n"
    "1 0 1 0 0 1\n"
    "1 1 1 1 0 0\n"
    "0 0 0 1 1 1\n"
    "1 1 0 0 ? 1\n"
    "0 0 1 ? 1 0\n"
    "? ? ? ? 1 0\n"
    "*\n";

class ReplicateSampleCommandsTest : public testing::CommandTest {
 protected:
  void SetUp() override { Load(kData); }
  void Accept() { host.dialogs.push_back([](DialogForm&) { return true; }); }
};

TEST_F(ReplicateSampleCommandsTest, TheFilterLogHoldsTheCountsTheFiltersReported) {
  Accept();
  Run("WithErrorRateAbove1Click");
  Accept();
  Run("WithMissingData1Click");
  Accept();
  Run("MergeReplicates1Click");
  Accept();
  Run("WithMissingData2Click");

  const std::vector<std::string> reports = {
      "Removing 2 loci with >5.000000000% error rate between replicates",
      "Removing 1 loci with >25.000000000% missing data",
      "Merging replicates: 2 samples, 2 replicates merged, 0 scores made missing",
      "Removing 1 individuals with >18.000000000% missing data",
  };
  EXPECT_EQ(host.reports, reports);
  const FilterLog& log = app.ws.filterLog;
  EXPECT_EQ(log.source, "data.txt");
  EXPECT_EQ(log.loaded, (MatrixCounts{6, 8, 6}));
  ASSERT_EQ(log.steps.size(), reports.size());
  const MatrixCounts counts[] = {{6, 8, 6}, {6, 6, 6}, {6, 5, 2}, {4, 5, 1}, {3, 5, 0}};
  for (std::size_t k = 0; k < reports.size(); ++k) {
    SCOPED_TRACE(reports[k]);
    EXPECT_EQ(log.steps[k].text, reports[k]);
    EXPECT_EQ(log.steps[k].before, counts[k]);
    EXPECT_EQ(log.steps[k].after, counts[k + 1]);
  }
  EXPECT_EQ(log.steps[0].phrase, "with >5% error rate between replicates");
  EXPECT_EQ(log.steps[0].kind, FilterStepKind::Removal);
  EXPECT_EQ(log.steps[2].kind, FilterStepKind::Merge);
  EXPECT_EQ(CountsOf(app.ws.data), counts[4]);
  EXPECT_EQ(app.ws.data.individualLabels.All(), (std::vector<std::string>{"A", "B", "D"}));
  EXPECT_EQ(app.ws.groups.groups[0].members, (std::vector<std::string>{"A", "B", "C", "D"}));

  // Restoring the loaded matrix gives the groups their replicates back.
  Run("RestoreOriginalMatrix1Click");
  EXPECT_EQ(app.ws.groups.groups[0].members, app.ws.data.individualLabels.All());

  // A new load starts the log anew.
  LoadFile("data.txt");
  EXPECT_TRUE(app.ws.filterLog.steps.empty());
  EXPECT_EQ(app.ws.filterLog.loaded, (MatrixCounts{6, 8, 6}));
}

TEST_F(ReplicateSampleCommandsTest, ReplacementAndRestoreAreLoggedWithTheirCounts) {
  app.ws.settings.missingDataReplacement = 1;
  Run("ReplaceMissingData1Click");
  Run("RestoreOriginalMatrix1Click");
  const FilterLog& log = app.ws.filterLog;
  ASSERT_EQ(log.steps.size(), 2u);
  EXPECT_EQ(log.steps[0].kind, FilterStepKind::Replacement);
  EXPECT_EQ(log.steps[0].before, (MatrixCounts{6, 8, 6}));
  EXPECT_EQ(log.steps[0].after, (MatrixCounts{6, 8, 0}));
  EXPECT_EQ(log.steps[0].phrase, "The 6 missing scores left were replaced, each by a presence with probability 1.");
  EXPECT_EQ(log.steps[1].kind, FilterStepKind::Restore);
  EXPECT_EQ(log.steps[1].before, (MatrixCounts{6, 8, 0}));
  EXPECT_EQ(log.steps[1].after, (MatrixCounts{6, 8, 6}));
}

TEST_F(ReplicateSampleCommandsTest, ErrorRatesAreLoggedForTheSummary) {
  Accept();
  host.answers.push_back(MessageAnswer::No);
  Run("ReplicateErrorRates1Click");
  EXPECT_EQ(host.reports, std::vector<std::string>{"Replicate error rates: 2 samples, 2 pairs, error rate 0.230769231"});
  ASSERT_TRUE(app.ws.filterLog.errorRate);
  EXPECT_EQ(app.ws.filterLog.errorRate->comparisons, 13u);
  EXPECT_EQ(app.ws.filterLog.errorRate->mismatches, 3u);
}

// The report says how the rate was estimated, with what it cites; the merge's block joins it, and
// the data quality summary after them names the rate with its work.
TEST_F(ReplicateSampleCommandsTest, TheRatesAndTheMergeJoinTheReport) {
  Accept();
  host.answers.push_back(MessageAnswer::Yes);
  Run("ReplicateErrorRates1Click");
  const ReportStep& rates = app.reportRecord.steps.back();
  EXPECT_EQ(rates.method, "The genotyping error rate was estimated from 2 replicate pairs of 2 samples at 8 loci as the "
                          "mismatches (a band present in one replicate and absent in the other) over all comparisons at "
                          "the loci scored in both replicates of a pair (Bonin et al. 2004).");
  EXPECT_EQ(rates.references, std::vector<std::string>{"bonin2004"});
  EXPECT_EQ(rates.tables.size(), 3u);
  app.ws.settings.existingOutputFile = ExistingOutputFile::Append;
  Accept();
  Run("MergeReplicates1Click");
  const ReportStep& merge = app.reportRecord.steps.back();
  EXPECT_EQ(merge.title.substr(0, 28), "Merged replicates: 2 samples");
  EXPECT_EQ(merge.tables[0].table.rows[0], (std::vector<std::string>{"Merged individual", "Replicates"}));
  EXPECT_TRUE(merge.method.empty());  // the data paragraph says the merge
  Run("DataQualitySummary1Click");
  EXPECT_EQ(app.reportRecord.steps.back().references, std::vector<std::string>{"bonin2004"});
  EXPECT_EQ(app.reportRecord.steps.back().lines.front().substr(0, 44), "Genotyping error rate (Bonin et al. 2004): 0");
}

TEST_F(ReplicateSampleCommandsTest, ADeclarationWithoutReplicatesIsRefusedAndAskedAgain) {
  Answer({{"suffix", "_x$"}});
  host.dialogs.push_back([](DialogForm& form) {
    form["replicates"].selected = 1;
    form["level"].text = "0";
    return true;
  });
  host.dialogs.push_back([](DialogForm&) { return false; });
  Run("ReplicateErrorRates1Click");
  EXPECT_EQ(host.Errors(), (std::vector<std::string>{
                               "No replicate samples found: no two individuals are declared replicates of one sample.",
                               "The group level (level) must be a whole number from 1 to 1000, not \"0\"."}));
  EXPECT_TRUE(host.reports.empty());
}

TEST_F(ReplicateSampleCommandsTest, MergingNeedsTheWholeDataSet) {
  app.ws.groups.activeLocusSet = 1;
  Run("MergeReplicates1Click");
  EXPECT_EQ(host.Errors(),
            std::vector<std::string>{"Merge Replicates works on the whole data set: select AllData and all loci first."});
}

}  // namespace
}  // namespace vorn
