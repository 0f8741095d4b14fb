#include <gtest/gtest.h>

#include <algorithm>

#include "support/command_fixture.h"

namespace vorn {
namespace {

// Loci scored in both: i1 and i2 at l2 and l4, i1 and i3 at l1 and l2, i2 and i3 at l2 only.
constexpr const char* kHandCounted = "i1 i2 i3\n1 ? 1\n0 0 1\n? ? 1\n1 1 ?\n*\n";

class MissingViewCommandsTest : public testing::CommandTest {};

TEST_F(MissingViewCommandsTest, EverySimilarityCommandStatesTheComparableLociAndTheSettingWritesThemAll) {
  Load(kHandCounted);
  app.ws.settings.similarity.writeSimilarityMatrix = false;
  const std::string line = "Loci scored in both of a pair: minimum 1, median 2.0, maximum 2; fewest: i2 and i3 (1)";
  for (const char* handler : {"Jaccard1Click", "Jaccard2Click", "MaximumJaccard1Click", "AverageJaccard2Click"}) {
    host.reports.clear();
    Run(handler);
    EXPECT_EQ(std::count(host.reports.begin(), host.reports.end(), line), 1) << handler;
  }
  Answer({{"file", "comparable.tsv"}});
  Run("ComparableLociFile1Click");
  EXPECT_EQ(host.reports.back(), "Comparable loci: every similarity command writes them to comparable.tsv");
  Run("Jaccard1Click");
  EXPECT_EQ(testing::ReadFile(dir.File("comparable.tsv")),
            "Loci scored in both\ti1\ti2\ti3\r\ni1\t3\t2\t2\r\ni2\t2\t2\t1\r\ni3\t2\t1\t3\r\n");
  EXPECT_EQ(host.reports.back(), "Comparable loci saved: comparable.tsv");
}

TEST_F(MissingViewCommandsTest, TheMissingDataCheckNeedsTheLatestOrdinationOfTheseData) {
  Load(testing::kFiveIndividuals);
  Run("MissingDataCheck1Click");
  EXPECT_EQ(host.Errors(), std::vector<std::string>{"There is no principal coordinate analysis to show: run Trees > "
                                                    "Principal Coordinate Analysis first."});
}

}  // namespace
}  // namespace vorn
