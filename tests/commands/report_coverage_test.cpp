// Every command that writes a block to the analysis file adds it to the session's report record:
// its tables hold the analysis file's numbers, its methods sentence the settings used, and a
// matrix or listing larger than a report page is named with the file instead.
#include <gtest/gtest.h>

#include "commands/report/report_steps.h"
#include "support/command_fixture.h"

namespace vorn {
namespace {

using testing::CommandTest;
using testing::kFiveIndividuals;
using testing::ReadFile;

class ReportCoverageTest : public CommandTest {
 protected:
  ReportCoverageTest() { app.ws.settings.existingOutputFile = ExistingOutputFile::Append; }
  const ReportStep& Last() { return app.reportRecord.steps.back(); }
  bool InFile(const std::string& text) { return ReadFile("analysis.txt").find(text) != std::string::npos; }
};

TEST_F(ReportCoverageTest, ASimilarityMatrixIsTheFilesEntriesUnderItsTitle) {
  Load(kFiveIndividuals);
  app.ws.settings.similarity.writeDistanceMatrix = true;
  Run("Jaccard1Click");
  ASSERT_EQ(app.reportRecord.steps.size(), 1u);
  const ReportStep& step = Last();
  EXPECT_EQ(step.title, "Standard Jaccard matrix");
  EXPECT_EQ(step.method, "Pairwise similarities of the 5 individuals at 12 loci were computed with the Jaccard "
                         "coefficient (Jaccard 1908) over the loci scored in both individuals, and turned into "
                         "distances d=1-s.");
  ASSERT_EQ(step.tables.size(), 2u);
  EXPECT_EQ(step.tables[0].notes, std::vector<std::string>{"Standard Jaccard coefficients"});
  EXPECT_EQ(step.tables[1].notes, std::vector<std::string>{"Distances d=1-s (Standard Jaccard coefficients)"});
  const ResultTable& table = step.tables[0].table;
  EXPECT_EQ(table.rows[0], (std::vector<std::string>{"", "A", "B", "C", "D", "E"}));
  EXPECT_EQ(table.rows[1], (std::vector<std::string>{"A", "1.0000000000", "", "", "", ""}));
  // Row C as the file writes it: each entry (of at least 11 characters) and a blank.
  std::string line;
  for (std::size_t c = 1; c <= 3; ++c) line += table.rows[3][c] + " ";
  EXPECT_TRUE(InFile("\r\n" + line + "\r\n"));
}

TEST_F(ReportCoverageTest, AMatrixOfMoreThanThirtyIndividualsIsNamedWithItsFile) {
  std::string data;
  for (std::size_t i = 0; i <= kReportedMatrixSize; ++i) data += "I" + std::to_string(i) + " ";
  data += "\n";
  for (int locus = 0; locus < 3; ++locus) {
    for (std::size_t i = 0; i <= kReportedMatrixSize; ++i) data += (i + locus) % 2 ? "1 " : "0 ";
    data += "\n";
  }
  Load(data + "*\n");
  Run("Jaccard1Click");
  const ReportStep& step = Last();
  EXPECT_TRUE(step.tables.empty());
  EXPECT_EQ(step.lines, std::vector<std::string>{"Standard Jaccard coefficients: the matrix of 31 individuals is "
                                                 "written whole to analysis.txt (the report shows matrices of up to "
                                                 "30 individuals)."});
}

TEST_F(ReportCoverageTest, AListingLongerThanAReportPageIsNamedWithItsFile) {
  ReportStep step;
  ResultTable long_{{{"Locus", "Frequency"}}};
  long_.rows.resize(kReportedRows + 1, {"L", "0.5"});
  AddListing(step, long_, {"Frequencies"}, "analysis.txt");
  EXPECT_EQ(step.tables.size(), 1u);
  EXPECT_TRUE(step.lines.empty());
  long_.rows.push_back({"L", "0.5"});
  AddListing(step, long_, {"Frequencies"}, "analysis.txt");
  EXPECT_EQ(step.lines, std::vector<std::string>{"Frequencies: its 501 rows are written whole to analysis.txt (the "
                                                 "report shows tables of up to 500 rows)."});
  AddListing(step, long_, {}, "analysis.txt");
  EXPECT_EQ(step.lines.back().substr(0, 24), "The table: its 501 rows ");
  EXPECT_EQ(step.tables.size(), 1u);
}

TEST_F(ReportCoverageTest, TheDescriptiveStatisticsKeepTheirRows) {
  Load(kFiveIndividuals);
  host.answers.push_back(MessageAnswer::Yes);
  Run("Statistics1Click");
  EXPECT_EQ(Last().tables[0].table.rows[2], (std::vector<std::string>{"Loci", "12"}));
  EXPECT_TRUE(InFile("Loci:         12\r\n"));
  EXPECT_EQ(Last().method, "The working data held 5 individuals scored at 12 loci, " +
                               Last().tables[0].table.rows[4][1] + " of the 60 scores missing.");
  Run("FrequenciesperIndividuals1Click");
  EXPECT_EQ(Last().title, "Frequencies (band presences) in individuals");
  EXPECT_TRUE(InFile("\r\nB " + Last().tables[0].table.rows[2][1] + "\r\n"));
  Run("CheckMissingData1Click");
  ASSERT_EQ(Last().tables.size(), 2u);
  EXPECT_EQ(Last().tables[1].notes.front(), "Missing data in loci");
  EXPECT_TRUE(InFile("\r\n" + Last().tables[1].table.rows[3][0] + " " + Last().tables[1].table.rows[3][1] + "\r\n"));
}

TEST_F(ReportCoverageTest, TheShannonBootstrapNamesItsReplicates) {
  Load(kFiveIndividuals);
  app.ws.settings.replicates.SH = 20;
  host.answers.push_back(MessageAnswer::Yes);
  Run("XXX1Click");
  EXPECT_EQ(Last().title, "Shannon's index and variance/std.dev. bootstrapped 20 times");
  EXPECT_NE(Last().method.find("from 20 bootstrap replicates of the 12 loci drawn with replacement (Efron 1979)"),
            std::string::npos);
  EXPECT_TRUE(InFile("var(I) =  " + Last().tables[0].table.rows[2][1] + "\r\n"));
}

TEST_F(ReportCoverageTest, TheDataQualitySummaryAndTheNetworkAreRecorded) {
  Load(kFiveIndividuals);
  Run("DataQualitySummary1Click");
  EXPECT_EQ(Last().title, "Data quality summary: data.txt");
  EXPECT_EQ(Last().lines.front(),
            "Genotyping error rate: not computed since the data were loaded (DataMatrix > Replicate Error Rates)");
  Run("Jaccard1Click");
  host.dialogs.push_back([](DialogForm&) { return true; });
  Run("NeighborNet1Click");
  ASSERT_EQ(Last().references.front(), "bryant2004");
  EXPECT_EQ(Last().method, "A NeighborNet (Bryant & Moulton 2004) of the 5 individuals was built from the Jaccard "
                           "coefficient (Jaccard 1908) over the loci scored in both individuals, as distances d=1-s.");
  EXPECT_EQ(Last().tables[0].table.rows[0][0], "Split");
}

TEST_F(ReportCoverageTest, RSupportListsItsClustersWithTheirKey) {
  Load(kFiveIndividuals);
  app.ws.settings.replicates.TR = 4;
  app.ws.settings.consensus.rTo = 50;
  host.answers.push_back(MessageAnswer::Yes);
  Run("EstimateRsupport1Click");
  const ReportStep& step = Last();
  EXPECT_EQ(step.title, "R-support");
  EXPECT_NE(step.method.find("of the Average similarity (the Jaccard coefficient (Jaccard 1908) drawn between"),
            std::string::npos);
  EXPECT_NE(step.method.find("in at least 100 % of 4 UPGMA trees (Sokal & Michener 1958) on distances d=1-s"),
            std::string::npos);
  EXPECT_NE(step.method.find("from r = 1 to 50"), std::string::npos);
  ASSERT_EQ(step.tables.size(), 2u);
  const std::vector<std::string>& first = step.tables[0].table.rows[1];
  EXPECT_TRUE(InFile("\r\n" + first[0] + " " + first[1] + "x @r= " + first[2] + "\r\n"));
  EXPECT_EQ(step.tables[1].table.rows[1][0], "#1");
}

// The consensus lists the clusters of its trees as the analysis file's lines give them, with the
// key of the OTU numbers.
TEST_F(ReportCoverageTest, AConsensusListsItsClustersWithTheirKey) {
  dir.Write("outtree.ph", "((A,B),C);\r\n((A,B),C);\r\n((A,B),C);\r\n((A,C),B);\r\n");
  Run("MajorityRuleConsensus1Click");
  const ReportStep& step = Last();
  EXPECT_EQ(step.title, "Majority rule consensus of 4 trees of outtree.ph");
  ASSERT_EQ(step.tables.size(), 2u);
  EXPECT_EQ(step.tables[0].notes,
            std::vector<std::string>{"Clusters found during Majority Rule Consensus construction, a digit per OTU."});
  const ResultTable& clusters = step.tables[0].table;
  EXPECT_EQ(clusters.rows[0], (std::vector<std::string>{"Cluster", "Trees", "%"}));
  for (std::size_t row = 1; row < clusters.rows.size(); ++row) {
    const std::vector<std::string>& cells = clusters.rows[row];
    EXPECT_TRUE(InFile("\r\n" + cells[0] + " " + cells[1] + "x= " + cells[2] + " %\r\n")) << cells[0];
  }
  EXPECT_EQ(clusters.rows[1], (std::vector<std::string>{"110", "3", "75.00"}));
  EXPECT_EQ(step.tables[1].table.rows[3], (std::vector<std::string>{"#3", "C"}));
}

}  // namespace
}  // namespace vorn
