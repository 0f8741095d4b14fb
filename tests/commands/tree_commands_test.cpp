#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <limits>
#include <random>

#include "support/command_fixture.h"

namespace vorn {
namespace {

using testing::ReadFile;

class TreeCommandsTest : public testing::CommandTest {
 protected:
  // Data on A, B, C with a kept Standard Jaccard matrix of similarities 1 - d.
  void KeepSimilarities(const std::vector<Real>& distances) {
    Workspace& ws = app.ws;
    ws.dataLoaded = true;
    ws.data.individualCount = 3;
    ws.data.individualLabels = LabelTable({"A", "B", "C"});
    DistanceMatrix s(3);
    for (std::size_t k = 0; k < s.entries.size(); ++k) s.entries[k] = 1 - distances[k];
    ws.results.standard = s;
    ws.results.active = ResultMatrices::Kept::Standard;
    ws.results.activeName = "StdJaccard";
    ws.results.individuals = ws.data.individualLabels;
  }
};

TEST_F(TreeCommandsTest, UpgmaAppendsTheTreeOfTheActiveMatrix) {
  KeepSimilarities({0, 0.2L, 0, 0.3L, 0.3L, 0});
  Run("UPGMA1Click");
  EXPECT_TRUE(host.Errors().empty());
  EXPECT_EQ(host.reports, std::vector<std::string>{"Building UPGMA tree..."});
  const std::string line = "(C:0.150000000, (A:0.100000000, B:0.100000000):0.050000000)StdJaccard; \r\n";
  EXPECT_EQ(ReadFile("outtree.ph"), line);
  host.answers = {MessageAnswer::Yes};
  Run("UPGMA1Click");
  EXPECT_EQ(ReadFile("outtree.ph"), line + line);
  EXPECT_EQ(host.messages.back().title, "Output file exists");
}

TEST_F(TreeCommandsTest, UpgmaNeedsAnActiveMatrixForTheWorkingIndividuals) {
  Run("UPGMA1Click");
  KeepSimilarities({0, 0.2L, 0, 0.3L, 0.3L, 0});
  app.ws.data.individualLabels = LabelTable({"A", "B", "D"});  // another data set was loaded
  Run("UPGMA1Click");
  EXPECT_EQ(host.Errors(), (std::vector<std::string>{"Need to perform Jaccard calculation first.",
                                                     "Need to perform Jaccard calculation first."}));
  EXPECT_FALSE(FileExists("outtree.ph"));
}

TEST_F(TreeCommandsTest, UpgmaOfAnUnjoinableMatrixWritesNothing) {
  const struct {
    std::vector<Real> distances;
    bool neiLi;  // a matrix of Nei-Li distances, whose -1 marks an undefined one
    std::string error;
  } cases[] = {
      {{0, 1000, 0, 1500, 1000, 0}, false, "psTrees.UPGMA/ShortestDist: error in input matrix"},
      // A kept entry of -1, the undefined Nei-Li distance of a pair without a shared band.
      {{0, 2, 0, 0.3L, 0.3L, 0}, true,
       "The distance between A and B is undefined (they share too few bands for a Nei-Li distance, which is -1); no "
       "UPGMA tree was built."},
      // A 0/0 entry, which used to give a tree of NaN branch lengths.
      {{0, 0.2L, 0, std::numeric_limits<Real>::quiet_NaN(), 0.3L, 0}, false,
       "The distance between A and C is undefined (its coefficient divides by 0); no UPGMA tree was built."},
  };
  for (const auto& c : cases) {
    host.messages.clear();
    KeepSimilarities(c.distances);
    app.ws.results.marks.neiLi = c.neiLi;
    Run("UPGMA1Click");
    EXPECT_EQ(host.Errors(), std::vector<std::string>{c.error});
    EXPECT_FALSE(FileExists("outtree.ph"));
  }
}

TEST_F(TreeCommandsTest, MajorityRuleConsensusOfTheFourTreeExample) {
  dir.Write("outtree.ph", "((A,B),C);\r\n((A,B),C);\r\n((A,C),B);\r\n((A,B),C);\r\n");
  Run("MajorityRuleConsensus1Click");
  EXPECT_TRUE(host.Errors().empty());
  EXPECT_EQ(host.reports, std::vector<std::string>{"Building majority rule consensus..."});
  EXPECT_EQ(ReadFile("constree.ph"), "((A,B)75,C)100;\r\n");
  EXPECT_EQ(ReadFile("analysis.txt"),
            "Clusters found during Majority Rule Consensus construction\r\n\r\n123\r\n110 3x= 75.00 %\r\n"
            "111 4x= 100.00 %\r\n101 1x= 25.00 %\r\n\r\n...where...\r\nOTU #1= A\r\nOTU #2= B\r\nOTU #3= C\r\n\r\n");
}

TEST_F(TreeCommandsTest, StrictConsensusAsksBeforeComputingAndAppends) {
  dir.Write("outtree.ph", "((A,B),C);\r\n((A,C),B);\r\n");
  dir.Write("constree.ph", "old\r\n");
  host.answers = {MessageAnswer::No};
  Run("StrictConsensus1Click");
  EXPECT_EQ(host.messages[0].text, "File already exists.\r\n\r\nconstree.ph\r\n\r\nAppend data to file rather than rewriting file?");
  EXPECT_EQ(ReadFile("constree.ph"), "(A,B,C);\r\n");
  EXPECT_EQ(ReadFile("analysis.txt").substr(0, 53), "Clusters found during Strict Consensus Construction\r\n");
}

TEST_F(TreeCommandsTest, ConsensusFailuresWriteNoTree) {
  Run("StrictConsensus1Click");
  EXPECT_EQ(host.Errors(), std::vector<std::string>{"Consensus tree input file was not found."});
  EXPECT_FALSE(FileExists("constree.ph"));

  dir.Write("outtree.ph", "\r\n*\r\n((A,B),C);\r\n");
  Run("StrictConsensus1Click");
  EXPECT_EQ(host.Errors().back(), "The consensus tree input file holds no trees.");

  // Two contradicting clusters at 50 %: the report is written, the tree is not.
  dir.Write("outtree.ph", "((A,B),C);\r\n((A,C),B);\r\n");
  app.ws.settings.consensus.majorityThreshold = 50;
  host.answers = {MessageAnswer::Yes};
  Run("MajorityRuleConsensus1Click");
  EXPECT_EQ(host.Errors().back().substr(0, 37), "The clusters {A, B} and {A, C} both q");
  EXPECT_EQ(ReadFile("constree.ph"), "");
  EXPECT_NE(ReadFile("analysis.txt").find("101 1x= 50.00 %"), std::string::npos);
}

TEST_F(TreeCommandsTest, ConsensusWarnsOfTreesFromDifferentAnalyses) {
  dir.Write("outtree.ph", "((A,B),C)StdJaccard; \r\n((A,B),C)BSJaccard1; \r\n((A,C),B)BSJaccard2; \r\n");
  Run("MajorityRuleConsensus1Click");
  ASSERT_FALSE(host.messages.empty());
  EXPECT_EQ(host.messages[0].title, "Warning");
  EXPECT_EQ(host.messages[0].text.substr(0, 124),
            "The trees of outtree.ph come from different analyses: 1 tree labelled StdJaccard, 2 trees labelled BSJaccard1 to "
            "BSJaccard2.");
  EXPECT_EQ(ReadFile("constree.ph"), "(A,B,C)100;\r\n");
}

TEST_F(TreeCommandsTest, SupportOnTreeLeavesOutItsReferenceAmongTheReplicates) {
  // The defaults take the reference and the replicates from one file, the UPGMA tree first.
  dir.Write("outtree.ph", "((A:0.1, B:0.1):0.05, C:0.15)StdJaccard; \r\n((A,B),C)BSJaccard1; \r\n((A,C),B)BSJaccard2; \r\n");
  Answer({});
  Run("SupportonTree1Click");
  EXPECT_TRUE(host.Errors().empty());
  EXPECT_EQ(ReadFile("supporttree.ph"), "((A:0.100000000, B:0.100000000)50:0.050000000, C:0.150000000)StdJaccard; \r\n");
  EXPECT_NE(ReadFile("analysis.txt").find("Replicate trees: 2 from outtree.ph, compared by clusters (rooted)\r\n"
                                          "Left out: 1 tree of outtree.ph identical to the reference tree, which cannot "
                                          "support itself\r\nInner nodes: 1\r\n"),
            std::string::npos);
}

// The input is read and checked before the output file is prepared: an input without trees or
// one that cannot be read leaves no consensus output file behind.
TEST_F(TreeCommandsTest, AConsensusOfNoTreesCreatesNoOutputFile) {
  const std::pair<std::function<void()>, std::string> inputs[] = {
      {[&] { dir.Write("outtree.ph", "\r\n*\r\n((A,B),C);\r\n"); }, "The consensus tree input file holds no trees."},
      {[&] {
         std::filesystem::remove("outtree.ph");
         std::filesystem::create_directory("outtree.ph");
       },
       "Cannot read outtree.ph"},
  };
  for (const auto& [makeInput, error] : inputs) {
    makeInput();
    for (const char* command : {"StrictConsensus1Click", "MajorityRuleConsensus1Click"}) {
      host.messages.clear();
      Run(command);
      EXPECT_EQ(host.Errors(), std::vector<std::string>{error}) << command;
      EXPECT_FALSE(FileExists("constree.ph")) << command;
      EXPECT_FALSE(FileExists("analysis.txt")) << command;
    }
  }
}

TEST_F(TreeCommandsTest, RedundantParenthesesAddNothingToTheConsensus) {
  dir.Write("outtree.ph", "(((A,B)),C);\r\n((A,(C)),B);\r\n");
  Run("StrictConsensus1Click");
  EXPECT_TRUE(host.Errors().empty());
  EXPECT_EQ(ReadFile("constree.ph"), "(A,B,C);\r\n");
  EXPECT_EQ(ReadFile("analysis.txt").substr(0, 114),
            "Clusters found during Strict Consensus Construction\r\n\r\n123\r\n110 1x= 50.00 %\r\n111 2x= 100.00 %\r\n"
            "101 1x= 50.00 %\r\n\r\n");
}

// 1100 caterpillars of 64 OTUs in random orders hold far more than 65535 distinct clusters.
TEST_F(TreeCommandsTest, AFullClusterTableGivesOneBox) {
  std::vector<std::string> otus;
  for (int i = 1; i <= 64; ++i) otus.push_back("O" + std::to_string(i));
  std::mt19937 random(7);
  std::string file;
  for (int tree = 0; tree < 1100; ++tree) {
    std::shuffle(otus.begin(), otus.end(), random);
    file += std::string(otus.size() - 1, '(') + otus[0];
    for (std::size_t i = 1; i < otus.size(); ++i) file += "," + otus[i] + ")";
    file += ";\r\n";
  }
  dir.Write("outtree.ph", file);
  Run("StrictConsensus1Click");
  ASSERT_EQ(host.Errors().size(), 1u);
  const std::string box = host.Errors().front();
  EXPECT_EQ(box.substr(0, 68), "Maximal number of clusters that can be evaluated has been reached.\r\n");
  EXPECT_EQ(box.substr(box.size() - 27), " clusters were not counted.");
  EXPECT_GT(std::stoul(box.substr(68)), 0u);
}

}  // namespace
}  // namespace vorn
