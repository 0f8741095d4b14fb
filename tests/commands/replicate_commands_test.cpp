// Replicate Analyses > the three tree commands and Options > Replicate Analysis Settings: their
// questions, report lines, files and progress, on one and two threads.
#include <gtest/gtest.h>
#include <omp.h>

#include <sstream>

#include "support/command_fixture.h"

namespace vorn {
namespace {

using testing::kFiveIndividuals;
using testing::ReadFile;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// The label of a tree line: the text between the last ")" and ";".
std::string TreeLabel(const std::string& line) {
  const std::size_t close = line.rfind(')');
  return line.substr(close + 1, line.find(';', close) - close - 1);
}

// ---- Settings dialog ----

class ReplicateSettingsTest : public testing::CommandTest {};

TEST_F(ReplicateSettingsTest, ShowsTheSettingsInDigitFieldsAndReportsThem) {
  host.dialogs.push_back([](DialogForm& form) {
    EXPECT_EQ(form.Caption(), "Replicate Analyses Settings");
    const std::vector<std::tuple<std::string, std::string, int, std::string>> fields = {
        {"bs", "BS: Resampled data matrix replicates for Jaccard:", 7, "1000"},
        {"tr", "TR: Number of average Jaccard trees to generate:", 6, "100"},
        {"jc", "JC: Average Jaccard from how many random draws:", 7, "100"},
        {"sh", "SH: Resampled data matrix replicates for Shannon:", 7, "10000"}};
    for (const auto& [key, caption, digits, text] : fields) {
      EXPECT_EQ(form[key].caption, caption);
      EXPECT_EQ(form[key].maxLength, digits);
      EXPECT_TRUE(form[key].digitsOnly);
      EXPECT_EQ(form[key].text, text);
    }
    EXPECT_EQ(form["rmd_mark"].caption, "RMD:");
    EXPECT_EQ(form["use_mdr"].caption, "Replace Missing Data (set parameters in respective dialog)");
    EXPECT_TRUE(form["use_mdr"].checked);
    return true;
  });
  Run("ReplicateAnalysisSettings1Click");
  EXPECT_EQ(host.reports,
            std::vector<std::string>{"Replicate Analysis Settings: UseMDR=true. BS=1000 TR=100 JC=100 SH=10000."});
}

TEST_F(ReplicateSettingsTest, AnUnreadableFieldKeepsTheFieldsReadBeforeItAndShowsTheDialogAgain) {
  host.dialogs.push_back([](DialogForm& form) {
    form["bs"].text = "7";
    form["tr"].text = "8";
    form["jc"].text = "";
    form["use_mdr"].checked = false;
    return true;
  });
  host.dialogs.push_back([this](DialogForm& form) {
    EXPECT_EQ(app.ws.settings.replicates.BS, 7);
    EXPECT_EQ(app.ws.settings.replicates.TR, 8);
    EXPECT_TRUE(app.ws.settings.replicates.useMDR);  // taken only when all four read
    EXPECT_EQ(form["jc"].text, "");                  // as the user left it
    form["jc"].text = "0";
    return true;
  });
  Run("ReplicateAnalysisSettings1Click");
  EXPECT_EQ(host.Errors(), std::vector<std::string>{"Invalid input. Please repeat."});
  EXPECT_EQ(host.reports,
            std::vector<std::string>{"Replicate Analysis Settings: UseMDR=false. BS=7 TR=8 JC=0 SH=10000."});
}

TEST_F(ReplicateSettingsTest, CancelLeavesEverySettingAsItWasEvenAfterARefusal) {
  for (bool refuseFirst : {false, true}) {
    host.reports.clear();
    if (refuseFirst) {
      host.dialogs.push_back([](DialogForm& form) {
        form["bs"].text = "5";
        form["sh"].text = "";
        return true;
      });
    }
    host.dialogs.push_back([](DialogForm& form) {
      form["tr"].text = "";
      return false;
    });
    Run("ReplicateAnalysisSettings1Click");
    EXPECT_EQ(app.ws.settings.replicates.BS, 1000);
    EXPECT_EQ(app.ws.settings.replicates.TR, 100);
    EXPECT_TRUE(host.reports.empty());
  }
}

// ---- Tree commands ----

struct TreeCommand {
  const char* handler;
  const char* startLine;
  const char* caption;   // of the progress window
  const char* firstLabel;
  std::vector<std::string> titlesOfFirst;  // in the analysis file, in order
};

const std::vector<TreeCommand> kCommands = {
    {"BootstrapJaccardTree1Click", "Bootstrapping Std Jaccard Tree...", "Bootstrap Std. Tree (BS+RMD)", "BSJaccard1",
     {"Std Jaccard from resampled data matrix replicate 1"}},
    {"BootstrapAvgJaccTrees1Click", "Bootstrapping Average Jaccard trees...", "Bootstrap Avg. Trees (BS+JC)",
     "BSAvgJaccard10x1",
     {"Avg Jaccard from resampled data replicate 1", "Variance on Jaccard from resampled data replicate 1"}},
    {"Mul1Click", "Generating Multiple Average Jaccard trees...", "Multiple Avg. Trees (TR+JC)", "AvgJaccard10x1",
     {"Average Expected Jaccard values (10x, run1)", "Variance of Expected Jaccard values(10x, run1)"}},
};

class ReplicateTreeCommandTest : public testing::CommandTest, public ::testing::WithParamInterface<TreeCommand> {
 protected:
  ReplicateTreeCommandTest() {
    app.ws.random.Seed(77);
    app.ws.settings.replicates.BS = 5;
    app.ws.settings.replicates.TR = 5;
    app.ws.settings.replicates.JC = 10;
  }
};

TEST_P(ReplicateTreeCommandTest, WithoutDataOrWithOneIndividualNothingIsAsked) {
  Run(GetParam().handler);
  EXPECT_EQ(host.Errors(), std::vector<std::string>{"No data loaded!"});
  Load("A\n1\n0\n*\n");
  host.messages.clear();
  Run(GetParam().handler);
  EXPECT_EQ(host.Errors(),
            std::vector<std::string>{"A tree needs at least 2 individuals, but the current data matrix holds 1."});
  EXPECT_EQ(host.messages.size(), 1u);
  EXPECT_TRUE(host.reports.empty());
}

TEST_P(ReplicateTreeCommandTest, WritesOneTreePerReplicateInRunOrderAndLeavesTheAnalysisFileAlone) {
  Load(kFiveIndividuals);
  host.answers = {MessageAnswer::No};
  Run(GetParam().handler);
  EXPECT_EQ(host.reports, std::vector<std::string>{GetParam().startLine});
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].title, "Save?");
  EXPECT_EQ(host.messages[0].text, "Save Jaccard data from all runs to analysis file?");
  const auto trees = Lines(ReadFile("outtree.ph"));
  ASSERT_EQ(trees.size(), 5u);
  std::string label = GetParam().firstLabel;
  for (std::size_t e = 0; e < trees.size(); ++e) {
    label.back() = static_cast<char>('1' + e);
    EXPECT_EQ(TreeLabel(trees[e]), label);
    EXPECT_EQ(trees[e].substr(trees[e].size() - 2), "; ");
  }
  EXPECT_FALSE(FileExists("analysis.txt"));
  EXPECT_EQ(host.progress.front(), std::string(GetParam().caption) + ": Replicate 1 of 5");
  EXPECT_EQ(host.progress.back(), std::string(GetParam().caption) + ": Replicate 5 of 5");
  EXPECT_EQ(host.progressEnds, 1);
  // The kept matrices are not the command's.
  EXPECT_EQ(app.ws.ActiveMatrix(), nullptr);
}

TEST_P(ReplicateTreeCommandTest, SavingAndRewritingEmptiesBothFilesOnceAndAppendsEachReplicate) {
  Load(kFiveIndividuals);
  dir.Write("analysis.txt", "old\n");
  dir.Write("outtree.ph", "old\n");
  host.answers = {MessageAnswer::Yes, MessageAnswer::No, MessageAnswer::No};
  Run(GetParam().handler);
  ASSERT_EQ(host.messages.size(), 3u);
  EXPECT_EQ(host.messages[1].title, "Output file exists");
  EXPECT_NE(host.messages[1].text.find("analysis.txt"), std::string::npos);
  EXPECT_NE(host.messages[2].text.find("outtree.ph"), std::string::npos);
  const auto analysis = Lines(ReadFile("analysis.txt"));
  const auto& titles = GetParam().titlesOfFirst;
  // Each matrix: title, empty line, labels, five rows, empty line.
  ASSERT_EQ(analysis.size(), 5 * titles.size() * 9);
  for (std::size_t k = 0; k < titles.size(); ++k) EXPECT_EQ(analysis[9 * k], titles[k]);
  EXPECT_EQ(Lines(ReadFile("outtree.ph")).size(), 5u);
}

TEST_P(ReplicateTreeCommandTest, ACountOfZeroStillAsksAndPreparesTheFiles) {
  Load(kFiveIndividuals);
  app.ws.settings.replicates.BS = 0;
  app.ws.settings.replicates.TR = 0;
  dir.Write("outtree.ph", "old\n");
  host.answers = {MessageAnswer::Yes, MessageAnswer::No};
  Run(GetParam().handler);
  EXPECT_EQ(ReadFile("outtree.ph"), "");
  EXPECT_EQ(ReadFile("analysis.txt"), "");
  EXPECT_TRUE(host.Errors().empty());
}

TEST_P(ReplicateTreeCommandTest, CancelKeepsTheTreesWrittenAndSaysHowMany) {
  Load(kFiveIndividuals);
  host.answers = {MessageAnswer::No};
  host.cancelAfter = 2;
  Run(GetParam().handler);
  EXPECT_EQ(Lines(ReadFile("outtree.ph")).size(), 2u);
  EXPECT_EQ(host.reports.back(), "Cancelled: 2 of 5 trees written.");
  EXPECT_EQ(host.progressEnds, 1);
}

TEST_P(ReplicateTreeCommandTest, AFixedSeedGivesTheSameFilesOnOneAndTwoThreads) {
  Load(kFiveIndividuals);
  std::vector<std::string> outputs;
  for (int threads : {1, 2, 1}) {
    omp_set_num_threads(threads);
    app.ws.random.Seed(5);
    dir.Write("outtree.ph", "");
    host.answers = {MessageAnswer::Yes, MessageAnswer::No, MessageAnswer::No};
    Run(GetParam().handler);
    outputs.push_back(ReadFile("outtree.ph") + ReadFile("analysis.txt"));
  }
  omp_set_num_threads(2);
  EXPECT_EQ(outputs[0], outputs[1]);
  EXPECT_EQ(outputs[0], outputs[2]);
}

INSTANTIATE_TEST_SUITE_P(Commands, ReplicateTreeCommandTest, ::testing::ValuesIn(kCommands),
                         [](const auto& info) { return std::string(info.param.handler); });

class ReplicateCommandFaultsTest : public testing::CommandTest {};

TEST_F(ReplicateCommandFaultsTest, TheAverageCommandsRefuseZeroDrawsBeforeAnyQuestion) {
  Load(kFiveIndividuals);
  app.ws.settings.replicates.JC = 0;
  for (const char* handler : {"BootstrapAvgJaccTrees1Click", "Mul1Click"}) {
    host.messages.clear();
    Run(handler);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].title, "Error");
    EXPECT_NE(host.messages[0].text.find("JC is 0"), std::string::npos);
  }
  EXPECT_FALSE(FileExists("outtree.ph"));
}

TEST_F(ReplicateCommandFaultsTest, UndefinedNeiLiPairsAreToldOnceForTheWholeRun) {
  Load("A B C\n1 0 0\n0 1 0\n0 0 1\n*\n");
  app.ws.settings.similarity.coefficient = SimilarityCoefficient::NeiLi;
  app.ws.settings.similarity.transformation = DistanceTransformation::D;
  app.ws.settings.replicates.BS = 4;
  host.answers = {MessageAnswer::No};
  Run("BootstrapJaccardTree1Click");
  ASSERT_EQ(host.Errors().size(), 1u);
  EXPECT_EQ(host.Errors()[0], "Undefined NeiLi distance\r\n\r\n12 pairs of individuals share too few bands; their distances are set to -1.");
  EXPECT_EQ(host.messages.back().text,
            "No tree could be built for 4 of 4 replicates (The distance between A and B is undefined (they share too "
            "few bands for a Nei-Li distance, which is -1), as are those of 2 more pairs; no UPGMA tree was built.); "
            "they were left out.\r\n0 of 4 trees were written.");
  EXPECT_EQ(ReadFile("outtree.ph"), "");
}

TEST_F(ReplicateCommandFaultsTest, ReplicatesWithoutATreeAreLeftOutWithOneWarning) {
  // The pair is scored together only at the first locus; samples without it give no tree.
  Load("A B\n1 1\n1 ?\n? 1\n*\n");
  app.ws.settings.similarity.coefficient = SimilarityCoefficient::SMC;
  app.ws.settings.replicates.BS = 12;
  app.ws.random.Seed(3);
  host.answers = {MessageAnswer::No};
  Run("BootstrapJaccardTree1Click");
  const auto trees = Lines(ReadFile("outtree.ph"));
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(host.messages[1].title, "Warning");
  const std::string left = std::to_string(12 - trees.size());
  EXPECT_EQ(host.messages[1].text, "No tree could be built for " + left +
                                       " of 12 replicates (The distance between A and B is undefined (no locus is "
                                       "scored in both); no UPGMA tree was built.); they were left out.\r\n" +
                                       std::to_string(trees.size()) + " of 12 trees were written.");
  EXPECT_GT(trees.size(), 0u);
  EXPECT_LT(trees.size(), 12u);
  for (const auto& tree : trees) EXPECT_EQ(tree.find("nan"), std::string::npos);
}

TEST_F(ReplicateCommandFaultsTest, NeighborJoiningTreesReportTheirTiesOverTheRun) {
  // Six individuals at one Jaccard distance, 2/3, which a binary real holds only nearly: every
  // tree ties at the joins with six, five and four clusters left, and its inner branches are 0.
  Load("A B C D E F\n1 1 1 1 1 1\n1 0 0 0 0 0\n0 1 0 0 0 0\n0 0 1 0 0 0\n0 0 0 1 0 0\n0 0 0 0 1 0\n0 0 0 0 0 1\n*\n");
  app.ws.settings.treeMethod = TreeMethod::NeighborJoining;
  app.ws.settings.replicates.TR = 4;
  host.answers = {MessageAnswer::No};
  Run("Mul1Click");
  EXPECT_EQ(host.reports, (std::vector<std::string>{
                              "Generating Multiple Average Jaccard trees...",
                              "Neighbor-Joining: 12 joins among tied pairs in 4 trees (the first pair in row order joined).",
                          }));
}

TEST_F(ReplicateCommandFaultsTest, OneFileForTreesAndMatricesTakesThemInRunOrder) {
  Load(kFiveIndividuals);
  app.ws.files.tree = "analysis.txt";
  app.ws.settings.replicates.BS = 2;
  host.answers = {MessageAnswer::Yes, MessageAnswer::Yes};
  Run("BootstrapJaccardTree1Click");
  const auto lines = Lines(ReadFile("analysis.txt"));
  ASSERT_EQ(lines.size(), 2u * 10u);
  EXPECT_EQ(lines[0], "Std Jaccard from resampled data matrix replicate 1");
  EXPECT_EQ(TreeLabel(lines[9]), "BSJaccard1");
  EXPECT_EQ(lines[10], "Std Jaccard from resampled data matrix replicate 2");
  EXPECT_EQ(TreeLabel(lines[19]), "BSJaccard2");
}

}  // namespace
}  // namespace vorn
