// Pairs of individuals with nothing to compare: the similarity commands keep and write their
// entries with a warning, and every command that takes distances refuses them with one message
// naming the first pair and how many there are.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "support/command_fixture.h"

namespace vorn {
namespace {

using testing::ReadFile;

// A and B are scored at different loci, so no pair of an A and a B has a locus scored in both.
constexpr const char* kDisjointScores =
    "a1 a2 b1 b2 c1 c2\n"
    "1 0 ? ? 1 0\n"
    "0 1 ? ? 1 0\n"
    "? ? 1 0 0 1\n"
    "? ? 0 1 0 1\n"
    "*\n"
    "[Groups]\n"
    "AllData/A = a1, a2;\n"
    "AllData/B = b1, b2;\n"
    "AllData/C = c1, c2;\n"
    "*\n";
constexpr const char* kPlaces = "name,x,y\na1,0,0\na2,1,0\nb1,5,1\nb2,6,2\nc1,9,9\nc2,10,7\n";
constexpr const char* kFirstPair =
    "he distance between a1 and b1 is undefined (no locus is scored in both), as are those of 3 more pairs";

class UndefinedPairsCommandsTest : public testing::CommandTest {
 protected:
  void LoadWith(SimilarityCoefficient coefficient) {
    Load(kDisjointScores);
    app.ws.settings.similarity.coefficient = coefficient;
    app.ws.settings.similarity.transformation =
        coefficient >= SimilarityCoefficient::NeiLi ? DistanceTransformation::D : DistanceTransformation::OneMinusS;
    dir.Write("places.csv", kPlaces);
  }
};

TEST_F(UndefinedPairsCommandsTest, TheMatrixIsWrittenAsComputedWithAWarning) {
  LoadWith(SimilarityCoefficient::Euclidean);
  Run("Jaccard1Click");
  EXPECT_TRUE(host.Errors().empty());
  // The warning, then the line on the loci the pairs share.
  ASSERT_GE(host.reports.size(), 2u);
  EXPECT_EQ(host.reports.end()[-2],
            std::string("Warning: t") + kFirstPair + "; trees, PCoA and the Mantel test will refuse this matrix.");
  // The row of b1: with a1 and a2 the Euclidean 0 of the formula, then itself.
  EXPECT_NE(ReadFile("analysis.txt").find("\r\n0.0000000000 0.0000000000 0.0000000000 \r\n"), std::string::npos);
  EXPECT_TRUE(app.ws.ActiveMatrix());

  host.reports.clear();
  Load(std::string(kDisjointScores).replace(std::string(kDisjointScores).find("? ? 1 0"), 3, "1 0"));
  Run("Jaccard1Click");
  EXPECT_EQ(host.reports.size(), 2u) << "no warning when every pair shares a scored locus";
}

struct Consumer {
  SimilarityCoefficient coefficient;
  const char* handler;
  std::vector<std::pair<std::string, std::string>> fields;  // of its dialog, when it has one
  std::string error;
};

TEST_F(UndefinedPairsCommandsTest, EveryConsumerOfDistancesRefusesNamingTheFirstPair) {
  using C = SimilarityCoefficient;
  const std::string first = std::string("T") + kFirstPair + "; ";
  const std::string amova = std::string("The AMOVA cannot run: t") + kFirstPair +
                            ". Choose another coefficient or remove the individuals concerned.";
  const Consumer consumers[] = {
      {C::Euclidean, "UPGMA1Click", {}, first + "no UPGMA tree was built."},
      {C::SqEuclidean, "NeighborJoining1Click", {}, first + "no Neighbor-Joining tree was built."},
      {C::Euclidean, "PrincipalCoordinateAnalysis1Click", {}, first + "no principal coordinate analysis was done."},
      {C::Euclidean, "MantelTest1Click", {{"coordinates_file", "places.csv"}}, first + "the matrix cannot be correlated."},
      // The same pairs are 0/0 under SMC.
      {C::SMC, "MantelTest1Click", {{"coordinates_file", "places.csv"}}, first + "the matrix cannot be correlated."},
      {C::SMC, "UPGMA1Click", {}, first + "no UPGMA tree was built."},
      {C::Euclidean, "AMOVA1Click", {}, amova},
      {C::Euclidean, "AMOVAPermutationTest1Click", {{"value", "99"}}, amova},
      {C::SqEuclidean, "PairwisePhiPT1Click", {{"permutations", "99"}}, amova},
      {C::Euclidean, "MantelTest1Click", {{"matrices", "populations"}}, amova},
      {C::Euclidean, "MantelTest1Click", {{"genetic", "nei"}},
       "Nei's distance between AllData/A and AllData/B is undefined: no locus is scored in both."},
  };
  // The dialogs keep their fields from one row to the next.
  for (const Consumer& consumer : consumers) {
    LoadWith(consumer.coefficient);
    Run("Jaccard1Click");
    std::filesystem::remove("analysis.txt");
    host.messages.clear();
    host.answers = {MessageAnswer::Yes};  // the AMOVA's caution
    if (!consumer.fields.empty() || std::string(consumer.handler) == "PairwisePhiPT1Click") {
      host.dialogs.push_back([fields = consumer.fields](DialogForm& form) {
        for (const auto& [key, value] : fields) {
          Control& control = form[key];
          if (control.kind != ControlKind::RadioGroup) {
            control.text = value;
            continue;
          }
          control.selected = static_cast<int>(std::find(control.itemKeys.begin(), control.itemKeys.end(), value) -
                                              control.itemKeys.begin());
        }
        return true;
      });
    }
    Run(consumer.handler);
    EXPECT_EQ(host.Errors(), std::vector<std::string>{consumer.error}) << consumer.handler;
    EXPECT_FALSE(FileExists("outtree.ph")) << consumer.handler;
    EXPECT_FALSE(std::filesystem::exists("analysis.txt")) << consumer.handler;
  }
}

TEST_F(UndefinedPairsCommandsTest, ReplicateTreesAreLeftOutNamingThePair) {
  LoadWith(SimilarityCoefficient::Euclidean);
  app.ws.settings.replicates.BS = 3;
  host.answers = {MessageAnswer::No};
  Run("BootstrapJaccardTree1Click");
  const std::string& warning = host.messages.back().text;
  EXPECT_EQ(warning.substr(0, 58), "No tree could be built for 3 of 3 replicates (The distance");
  EXPECT_NE(warning.find("no UPGMA tree was built.); they were left out.\r\n0 of 3 trees were written."),
            std::string::npos)
      << warning;
  EXPECT_EQ(ReadFile("outtree.ph"), "");
}

}  // namespace
}  // namespace vorn
