// Population Diversity and Pairwise PhiPT: the inputs they refuse (with nothing written), a pair
// whose PhiPT is undefined, and Cancel between pairs.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/command_fixture.h"
#include "support/file_failures.h"

namespace vorn {
namespace {

using testing::ReadFile;

// A and B hold one individual each, so the AMOVA of the two alone cannot run.
constexpr const char* kThreePopulations =
    "a1 b1 c1 c2 c3\n"
    "1 0 0 0 1\n"
    "1 0 1 1 1\n"
    "0 1 1 0 1\n"
    "*\n"
    "[Groups]\n"
    "AllData/A = a1;\n"
    "AllData/B = b1;\n"
    "AllData/C = c1, c2, c3;\n"
    "*\n";

class PopulationCommandsTest : public testing::CommandTest {};

struct Refusal {
  std::string data;
  std::string handler;
  std::vector<std::pair<std::string, std::string>> fields;
  std::string error;
};

TEST_F(PopulationCommandsTest, RefusalsNameTheirCauseAndWriteNothing) {
  const std::string three = kThreePopulations;
  const std::vector<Refusal> refusals = {
      {"a b\n1 0\n*\n", "PairwisePhiPT1Click", {}, "Groups must be defined for the population statistics."},
      {"a b\n1 0\n*\n[Groups]\nAllData/A = a, b;\n*\n", "PairwisePhiPT1Click", {},
       "The populations of level 1 (groups 2 deep in the hierarchy) number 1; this command needs at least 2."},
      {three.substr(0, three.find("c3;")) + "zz;\n*\n", "PopulationDiversity1Click", {},
       "\"zz\" of the group AllData/C is not an individual of the data."},
      {three, "PopulationDiversity1Click", {{"level", "2"}},
       "The populations of level 2 (groups 3 deep in the hierarchy) number 0; this command needs at least 1."},
      {three, "PairwisePhiPT1Click", {{"permutations", "0"}},
       "The number of permutations (permutations) must be a whole number from 1 to 1000000, not \"0\"."},
      {three, "PopulationDiversity1Click", {{"lm_absences", "-1"}},
       "Lynch & Milligan's absence threshold (lm_absences) must be a number from 0 to 65535, not \"-1\"."},
      {three, "PopulationDiversity1Click", {{"lm_absences", "2.5"}, {"level", "1.5"}},
       "The group level (level) must be a whole number from 1 to 1000, not \"1.5\"."},
  };
  // The dialogs keep their fields from one row to the next.
  for (const Refusal& refusal : refusals) {
    Load(refusal.data);
    host.messages.clear();
    Answer(refusal.fields);
    Answer({}, false);  // a dialog shown again after its refusal is cancelled
    Run(refusal.handler);
    host.dialogs.clear();
    EXPECT_EQ(host.Errors(), std::vector<std::string>{refusal.error}) << refusal.handler;
    EXPECT_FALSE(std::filesystem::exists("analysis.txt"));
  }
}

TEST_F(PopulationCommandsTest, APairOfSingleIndividualsIsUndefinedAndSaidSo) {
  Load(kThreePopulations);
  SelectGroupEntry(3);
  Answer({{"permutations", "99"}, {"table_file", "pairs.tsv"}});
  host.answers = {MessageAnswer::Yes};
  Run("PairwisePhiPT1Click");
  EXPECT_EQ(host.reports.back(), "Pairwise PhiPT: 3 populations at level 1 with 99 permutations");
  EXPECT_NE(host.messages.back().text.find("PhiPT undefined for 1 pair\r\n"), std::string::npos);
  EXPECT_NE(ReadFile("analysis.txt")
                .find("AllData/A and AllData/B: PhiPT undefined. The AMOVA cannot run: there are as many "
                      "populations as individuals, so nothing can vary within populations.\r\n"),
            std::string::npos);
  EXPECT_EQ(ReadFile("pairs.tsv").substr(0, 50), "PhiPT \\ p\tAllData/A\tAllData/B\tAllData/C\r\nAllData/A");
  EXPECT_EQ(app.ws.groups.activeGroup, 3);
}

// The tab-separated copy and the analysis block are written both or neither: a copy that cannot
// be made leaves the analysis file uncreated, and an analysis file that fails (a full disk) keeps
// the old copy.
TEST_F(PopulationCommandsTest, TheCopyAndTheAnalysisBlockAreWrittenBothOrNeither) {
  Load(kThreePopulations);
  Answer({{"table_file", "missing/diversity.tsv"}});
  host.answers = {MessageAnswer::Yes};
  Run("PopulationDiversity1Click");
  EXPECT_EQ(host.Errors(), std::vector<std::string>{"Cannot write missing/diversity.tsv: No such file or directory"});
  EXPECT_FALSE(std::filesystem::exists("analysis.txt"));

  const std::string oldAnalysis(2000, 'a'), oldCopy = "old copy\r\n";
  dir.Write("analysis.txt", oldAnalysis);
  dir.Write("diversity.tsv", oldCopy);
  host.messages.clear();
  Answer({{"table_file", "diversity.tsv"}});
  host.answers = {MessageAnswer::Yes, MessageAnswer::Yes};
  {
    testing::FileSizeLimit full(2100);  // room for the copy, not for the analysis block
    Run("PopulationDiversity1Click");
  }
  EXPECT_EQ(host.Errors(), std::vector<std::string>{"Cannot write analysis.txt: File too large"});
  EXPECT_EQ(ReadFile("analysis.txt"), oldAnalysis);
  EXPECT_EQ(ReadFile("diversity.tsv"), oldCopy);
  EXPECT_EQ(testing::Entries(dir), (std::vector<std::string>{"analysis.txt", "data.txt", "diversity.tsv"}));
}

TEST_F(PopulationCommandsTest, CancelStopsBetweenPairsAndWritesNothing) {
  Load(kThreePopulations);
  host.cancelAfter = 1;
  Run("PairwisePhiPT1Click");
  EXPECT_EQ(host.reports.back(), "Cancelled: 1 of 3 pairs done; nothing was written.");
  EXPECT_FALSE(std::filesystem::exists("analysis.txt"));
}

TEST_F(PopulationCommandsTest, DiversityValuesWithoutALocusAreUndefinedWithTheirCause) {
  // No locus has more than 3 absences in any population, so Lynch & Milligan's Hj has no locus;
  // AllData/A and AllData/B are scored at one locus each.
  const std::string three = kThreePopulations;
  Load("a1 b1 c1 c2 c3\n1 0 0 0 1\n? ? 1 1 1\n? ? 1 0 1\n" + three.substr(three.find("*")));
  host.answers = {MessageAnswer::Yes};
  Run("PopulationDiversity1Click");
  const std::string text = ReadFile("analysis.txt");
  EXPECT_EQ(text.find("NaN"), std::string::npos);
  for (const std::string note : {"AllData/A: SE(He) undefined: a standard error needs two loci.\r\n",
                                 "AllData/A: Hj and SE(Hj) undefined: no locus has more than 3 band absences.\r\n",
                                 "AllData/C: Hj and SE(Hj) undefined: no locus has more than 3 band absences.\r\n",
                                 "AllData: Hj and SE(Hj) undefined: no locus has more than 3 band absences.\r\n"}) {
    EXPECT_NE(text.find(note), std::string::npos) << note << text;
  }
  EXPECT_NE(text.find("undefined"), std::string::npos);
  EXPECT_NE(host.messages.back().text.find("AllData/A: uHe= "), std::string::npos);
}

}  // namespace
}  // namespace vorn
