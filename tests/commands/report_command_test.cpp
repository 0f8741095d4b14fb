// File > Write Report without a window: what the record keeps and when it starts anew, the data
// file named by its SHA-256, the numbers of the analysis file, and a failed write that leaves
// the old report as it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "commands/report/report_document.h"
#include "commands/report/report_steps.h"
#include "core/sha256.h"
#include "support/command_fixture.h"
#include "support/file_failures.h"

namespace vorn {
namespace {

using testing::CommandTest;
using testing::kFiveIndividuals;
using testing::ReadFile;

class ReportCommandTest : public CommandTest {
 protected:
  std::string Written(const std::string& name) {
    host.files.push_back(name);
    Run("WriteReport1Click");
    return ReadFile(name);
  }
};

TEST_F(ReportCommandTest, NamesTheDataByItsDigestAndKeepsTheTreesSinceTheLoad) {
  Load(kFiveIndividuals);
  Run("Jaccard1Click");
  Run("UPGMA1Click");
  ASSERT_EQ(app.reportRecord.steps.size(), 2u);  // the matrix written, then the tree
  EXPECT_EQ(app.reportRecord.steps[0].title, "Standard Jaccard matrix");
  EXPECT_EQ(app.reportRecord.steps[1].title, "UPGMA tree StdJaccard");
  EXPECT_EQ(app.reportRecord.steps[1].figures[0].caption, "UPGMA tree of 5 individuals, Standard Jaccard, distances d=1-s");
  const std::string html = Written("report.html");
  EXPECT_NE(html.find("SHA-256 <code>" + *FileSha256("data.txt") + "</code>"), std::string::npos);
  EXPECT_NE(html.find("A UPGMA tree (Sokal &amp; Michener 1958) of the 5 individuals was built from the Jaccard "
                      "coefficient (Jaccard 1908) over the loci scored in both individuals, as distances d=1-s."),
            std::string::npos);
  EXPECT_NE(html.find("<li>Sokal RR, Michener CD (1958)"), std::string::npos);
  EXPECT_EQ(host.reports.back(), "Report written: report.html");

  Load(kFiveIndividuals);  // a new load starts the record anew
  EXPECT_TRUE(app.reportRecord.steps.empty());
}

// The cophenetic correlation's r is the analysis file's text.
TEST_F(ReportCommandTest, TakesTheNumbersAsTheAnalysisFileWritesThem) {
  Load(kFiveIndividuals);
  Run("Jaccard1Click");
  Run("UPGMA1Click");
  host.answers.push_back(MessageAnswer::Yes);
  Run("CopheneticCorrelation1Click");
  const ReportStep& step = app.reportRecord.steps.back();
  ASSERT_EQ(step.tables.size(), 1u);
  const std::string r = step.tables[0].table.rows.back().back();
  EXPECT_NE(ReadFile("analysis.txt").find("r= " + r + "\r\n"), std::string::npos);
}

TEST_F(ReportCommandTest, TheConsensusTreeComesWithItsThresholdAndTreeCount) {
  dir.Write("outtree.ph", "((A,B),C);\r\n((A,B),C);\r\n((A,C),B);\r\n((A,B),C);\r\n");
  Run("MajorityRuleConsensus1Click");
  ASSERT_EQ(app.reportRecord.steps.size(), 1u);
  const ReportStep& step = app.reportRecord.steps[0];
  EXPECT_EQ(step.method, "The majority-rule consensus of the 4 trees of outtree.ph kept the clusters found in at least "
                         "70 % of them, each labelled with the percentage of trees that hold it (Felsenstein 1985).");
  EXPECT_EQ(step.figures[0].caption, "Majority rule consensus of 3 individuals from 4 trees, support as the percentage of trees");
}

TEST_F(ReportCommandTest, ABootstrapRunNamesItsReplicatesAndTrees) {
  Load(kFiveIndividuals);
  app.ws.settings.replicates.BS = 5;
  host.answers.push_back(MessageAnswer::No);  // the matrices stay out of the analysis file
  Run("BootstrapJaccardTree1Click");
  ASSERT_EQ(app.reportRecord.steps.size(), 1u);
  EXPECT_EQ(app.reportRecord.steps[0].method,
            "From 5 bootstrap replicates of the loci, drawn with replacement (Felsenstein 1985), UPGMA (Sokal & "
            "Michener 1958) trees were built from the Jaccard coefficient (Jaccard 1908) over the loci scored in both "
            "individuals, as distances d=1-s.");
  EXPECT_EQ(app.reportRecord.steps[0].lines, std::vector<std::string>{"5 of 5 trees written to outtree.ph."});
}

// A picture saved as SVG joins the report whole; a PNG does not.
TEST_F(ReportCommandTest, ASavedSvgPictureJoinsTheReport) {
  dir.Write("map.SVG", "<?xml version=\"1.0\"?>\n<svg width=\"4\"><rect/></svg>\n");
  dir.Write("map.png", "PNG");
  RecordPicture(app, "Missing scores", "map.png");
  RecordPicture(app, "Missing scores", "map.SVG");
  ASSERT_EQ(app.reportRecord.steps.size(), 1u);
  EXPECT_EQ(app.reportRecord.steps[0].figures[0].svg, "<svg width=\"4\"><rect/></svg>");
  EXPECT_EQ(app.reportRecord.steps[0].figures[0].caption, "Missing scores");
}

// A script reproduces itself with its seed; the window's recorder is not there.
TEST_F(ReportCommandTest, ReproducesTheScriptItRunsFrom) {
  app.scriptSource = "File > Load\n    file: data.txt";
  const std::string html = ReportHtmlOf(app, ReportForm::Browser);
  EXPECT_NE(html.find("<pre># Repeat this run with: vorn --script FILE --seed " + std::to_string(app.StartSeed()) +
                      "\nFile &gt; Load\n    file: data.txt\n</pre>"),
            std::string::npos);
  EXPECT_NE(html.find("No data were loaded in this session."), std::string::npos);
}

TEST_F(ReportCommandTest, AFailedWriteLeavesTheOldReport) {
  Load(kFiveIndividuals);
  dir.Write("report.html", "old");
  {
    const testing::FileSizeLimit limit(1000);  // the report is longer: its write fails as on a full disk
    host.files.push_back("report.html");
    Run("WriteReport1Click");
  }
  EXPECT_EQ(host.Errors().size(), 1u);
  EXPECT_EQ(ReadFile("report.html"), "old");
  std::set<std::string> names;  // no half-written copy is left beside it
  for (const auto& entry : std::filesystem::directory_iterator(".")) names.insert(entry.path().filename().string());
  EXPECT_EQ(names, (std::set<std::string>{"data.txt", "report.html"}));
}

}  // namespace
}  // namespace vorn
