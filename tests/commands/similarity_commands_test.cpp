#include <gtest/gtest.h>

#include <cmath>

#include "commands/all_commands.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

namespace vorn {
namespace {

using C = SimilarityCoefficient;
using testing::ReadFile;
using testing::RecordingHost;
using testing::TempDir;

// Three individuals whose Standard Jaccard coefficients are 0.5, 0.25 and 1/3.
constexpr const char* kThree = "A B C\n1 1 1\n1 1 1\n1 0 0\n1 0 0\n0 0 1\n0 0 1\n0 0 1\n0 0 1\n*\n";
// The same with missing scores, and a fourth individual without any band.
constexpr const char* kFourWithMissing = "A B C D\n1 1 ? 0\n1 ? 1 0\n1 0 0 0\n? 0 0 0\n0 0 1 0\n0 ? 1 0\n*\n";

constexpr const char* kThreeMatrix =
    "1.0000000000 \r\n"
    "0.5000000000 1.0000000000 \r\n"
    "0.2500000000 0.3333333333 1.0000000000 \r\n";
constexpr const char* kLabels = "A            B            C            \r\n";

class SimilarityCommandsTest : public ::testing::Test {
 protected:
  SimilarityCommandsTest() {
    dir.Enter();
    app.ws.random.Seed(1);
  }

  void Run(std::string_view handler) { app.Run(*FindByHandler(app.menu, handler)); }
  void Load(const char* content) {
    dir.Write("data.txt", content);
    host.files.push_back("data.txt");
    Run("Load1Click");
    host.reports.clear();
  }
  SimilaritySettings& Settings() { return app.ws.settings.similarity; }
  // Runs the command on an existing analysis file holding "old", answering the one question
  // about it; gives the file's text afterwards.
  std::string RunOnExistingFile(std::string_view handler, MessageAnswer answer) {
    dir.Write("analysis.txt", "old\r\n");
    host.answers.push_back(answer);
    Run(handler);
    EXPECT_EQ(host.messages.size(), 1u);
    return ReadFile("analysis.txt");
  }

  TempDir dir;
  RecordingHost host;
  TMainPrg app{host, AllCommands()};
};

TEST_F(SimilarityCommandsTest, StandardWritesTheMatrixAndMakesItActive) {
  Load(kThree);
  Run("Jaccard1Click");
  EXPECT_EQ(host.reports,
            (std::vector<std::string>{"Calculating Jaccard matrix. Saving matrix to analysis file:  Original matrix.",
                                      "Loci scored in both of a pair: minimum 8, median 8.0, maximum 8; fewest: A and "
                                      "B (8), A and C (8), B and C (8)"}));
  EXPECT_TRUE(host.messages.empty());  // a new file is created without asking
  EXPECT_EQ(ReadFile("analysis.txt"), std::string("Standard Jaccard coefficients\r\n\r\n") + kLabels + kThreeMatrix + "\r\n");
  ASSERT_NE(app.ws.ActiveMatrix(), nullptr);
  EXPECT_EQ(app.ws.ActiveMatrix(), &*app.ws.results.standard);
  EXPECT_EQ(app.ws.results.activeName, "StdJaccard");
}

TEST_F(SimilarityCommandsTest, EveryCommandNeedsData) {
  for (const char* handler : {"Jaccard1Click", "Jaccard2Click", "MaximumJaccard1Click", "AverageJaccard2Click"}) {
    Run(handler);
  }
  EXPECT_EQ(host.Errors(), std::vector<std::string>(4, "No data loaded!"));
  EXPECT_TRUE(host.reports.empty());
  EXPECT_EQ(app.ws.results.active, ResultMatrices::Kept::None);
}

TEST_F(SimilarityCommandsTest, AMatrixWithoutLociIsRefused) {
  Load(kThree);
  app.ws.data.locusCount = 0;
  app.ws.data.cells.clear();
  Run("Jaccard1Click");
  Run("AverageJaccard2Click");
  EXPECT_EQ(host.Errors(), std::vector<std::string>(2, "The current data matrix holds no individuals or no loci."));
  EXPECT_FALSE(FileExists("analysis.txt"));
}

TEST_F(SimilarityCommandsTest, ForADistanceMinimumSimilarityIsTheMaximumDistance) {
  Load(kFourWithMissing);
  Settings().coefficient = C::Euclidean;
  Settings().transformation = DistanceTransformation::D;
  Run("Jaccard2Click");
  EXPECT_EQ(host.reports.front(), "Calculating Maximum Euclidean matrix. Saving matrix to analysis file:  Original matrix.");
  EXPECT_EQ(app.ws.results.activeName, "MaxEuclidean");
  EXPECT_EQ(ReadFile("analysis.txt").substr(0, 32), "Maximum Euclidean coefficients\r\n");
  host.answers.push_back(MessageAnswer::No);
  host.reports.clear();
  Run("MaximumJaccard1Click");
  EXPECT_EQ(host.reports.front(), "Calculating Minimum Euclidean matrix. Saving matrix to analysis file:  Original matrix.");
  EXPECT_EQ(app.ws.results.activeName, "MinEuclidean");
  EXPECT_EQ(app.ws.results.active, ResultMatrices::Kept::Maximum);
  EXPECT_EQ(ReadFile("analysis.txt").substr(0, 32), "Minimum Euclidean coefficients\r\n");
}

TEST_F(SimilarityCommandsTest, AnExistingFileIsAppendedToOrRewrittenAsAnswered) {
  Load(kThree);
  EXPECT_EQ(RunOnExistingFile("Jaccard1Click", MessageAnswer::Yes).substr(0, 5), "old\r\n");
  EXPECT_EQ(host.messages[0].title, "Output file exists");
  EXPECT_EQ(host.messages[0].text,
            "File already exists.\r\n\r\nanalysis.txt\r\n\r\nAppend data to file rather than rewriting file?");
  host.answers.push_back(MessageAnswer::No);
  Run("Jaccard1Click");
  EXPECT_EQ(ReadFile("analysis.txt").substr(0, 29), "Standard Jaccard coefficients");
}

TEST_F(SimilarityCommandsTest, DistanceOutputAloneIsAppendedWithoutAQuestion) {
  Load(kThree);
  Settings().writeSimilarityMatrix = false;
  Settings().writeDistanceMatrix = true;
  Run("Jaccard1Click");
  Run("Jaccard1Click");
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(host.reports.front(), "Calculating Jaccard matrix. Saving matrix to analysis file:  Distance matrix.");
  const std::string block = std::string("Distances d=1-s (Standard Jaccard coefficients)\r\n\r\n") + kLabels +
                            "0.0000000000 \r\n0.5000000000 0.0000000000 \r\n"
                            "0.7500000000 0.6666666667 0.0000000000 \r\n\r\n";
  EXPECT_EQ(ReadFile("analysis.txt"), block + block);
}

TEST_F(SimilarityCommandsTest, NoOutputAtAllStillMakesTheMatrixActive) {
  Load(kThree);
  Settings().writeSimilarityMatrix = false;
  Run("MaximumJaccard1Click");
  EXPECT_EQ(host.reports.front(), "Calculating Maximum Jaccard matrix");
  EXPECT_FALSE(FileExists("analysis.txt"));
  EXPECT_EQ(app.ws.results.activeName, "MaxJaccard");
}

TEST_F(SimilarityCommandsTest, BothOutputsAskOnceAndAppendTheDistances) {
  Load(kThree);
  Settings().writeDistanceMatrix = true;
  Settings().coefficient = C::SMC;
  Settings().transformation = DistanceTransformation::SquaredOneMinusS;
  const std::string text = RunOnExistingFile("Jaccard2Click", MessageAnswer::No);
  EXPECT_EQ(text.substr(0, 24), "Minimum SMC coefficients");
  EXPECT_NE(text.find("\r\n\r\nDistances d=SQ(1-s) (Minimum SMC coefficients)\r\n"), std::string::npos);
}

TEST_F(SimilarityCommandsTest, ADamagedTransformationWritesNoDistances) {
  Load(kThree);
  Settings().writeSimilarityMatrix = false;
  Settings().writeDistanceMatrix = true;
  Settings().transformation = static_cast<DistanceTransformation>(9);
  Run("Jaccard1Click");
  EXPECT_EQ(host.Errors(), std::vector<std::string>{"DistTransform: Unknown option."});
  EXPECT_FALSE(FileExists("analysis.txt"));
}

TEST_F(SimilarityCommandsTest, UndefinedNeiLiDistancesAreToldOnceWithTheirNumber) {
  Load(kFourWithMissing);
  Settings().coefficient = C::NeiLi;
  Settings().transformation = DistanceTransformation::D;
  Run("Jaccard1Click");
  // B and C share no band, nor does D (which has none) with the others; D with itself is 0/0.
  EXPECT_EQ(host.Errors(), std::vector<std::string>{"Undefined NeiLi distance\r\n\r\n4 pairs of individuals share too few "
                                                    "bands; their distances are set to -1."});
  EXPECT_EQ((*app.ws.results.standard)(3, 0), -1);
  EXPECT_EQ((*app.ws.results.standard)(2, 1), -1);
  EXPECT_TRUE(std::isnan((*app.ws.results.standard)(3, 3)));
  EXPECT_NE(app.ws.ActiveMatrix(), nullptr);
}

TEST_F(SimilarityCommandsTest, ZeroDenominatorsAreWrittenAsNaN) {
  Load(kFourWithMissing);
  Settings().coefficient = C::Dice;
  Run("Jaccard1Click");
  const std::string text = ReadFile("analysis.txt");
  EXPECT_NE(text.find("        NaN \r\n\r\n"), std::string::npos);  // D with itself ends the last row
  EXPECT_TRUE(host.Errors().empty());
}

TEST_F(SimilarityCommandsTest, AverageShowsItsRowsAndCancelLeavesTheMatricesAsTheyWere) {
  Load(kFourWithMissing);
  host.cancelAfter = 2;
  Run("AverageJaccard2Click");
  EXPECT_EQ(host.progress, (std::vector<std::string>{"Average Similarity: Row 1 of 4", "Average Similarity: Row 2 of 4",
                                                     "Average Similarity: Row 3 of 4"}));
  EXPECT_EQ(host.progressEnds, 1);
  EXPECT_EQ(host.reports, std::vector<std::string>{"Cancelled: the matrices are as they were."});
  EXPECT_FALSE(app.ws.results.average || app.ws.results.minimum);
  EXPECT_EQ(app.ws.ActiveMatrix(), nullptr);
  EXPECT_FALSE(FileExists("analysis.txt"));
}

TEST_F(SimilarityCommandsTest, AverageWritesMeanVarianceAndDeviation) {
  Load(kFourWithMissing);
  Settings().writeDistanceMatrix = true;
  Run("AverageJaccard2Click");
  EXPECT_EQ(host.reports, (std::vector<std::string>{"Calculating Average Jaccard matrix. Saving matrix to analysis file:  "
                                                    "Original matrix. Distance matrix.",
                                                    "Loci scored in both of a pair: minimum 3, median 4.0, maximum 5; "
                                                    "fewest: A and B (3), B and C (3)"}));
  const std::string text = ReadFile("analysis.txt");
  const auto at = [&](const char* title) { return text.find(std::string(title) + "\r\n\r\nA "); };
  EXPECT_EQ(at("Average Jaccard coefficients (100 random draws)"), 0u);
  EXPECT_LT(at("Average Jaccard coefficients (100 random draws)"), at("Variance on Jaccard (100 random draws)"));
  EXPECT_LT(at("Variance on Jaccard (100 random draws)"), at("StdDev on Jaccard (100 random draws)"));
  EXPECT_LT(at("StdDev on Jaccard (100 random draws)"), at("Distances d=1-s (Average Jaccard coefficients)"));
  EXPECT_NE(at("Distances d=1-s (Average Jaccard coefficients)"), std::string::npos);
  EXPECT_EQ(app.ws.results.activeName, "AvgJaccard100x");
  EXPECT_EQ(app.ws.ActiveMatrix(), &*app.ws.results.average);
  EXPECT_TRUE(app.ws.results.minimum && app.ws.results.maximum && app.ws.results.standardDeviation);
  EXPECT_NE(app.ws.random.State(), 1u);
}

TEST_F(SimilarityCommandsTest, AverageAsksOnceAndAnswersOnlyTheFirstBlock) {
  Load(kThree);
  Settings().writeSimilarityMatrix = false;
  Settings().writeDistanceMatrix = true;
  const std::string text = RunOnExistingFile("AverageJaccard2Click", MessageAnswer::No);
  EXPECT_EQ(text.substr(0, 53), "old\r\nDistances d=1-s (Average Jaccard coefficients)\r\n");
  EXPECT_EQ(app.ws.random.State(), 1u);  // complete data: nothing drawn
}

TEST_F(SimilarityCommandsTest, AverageNeedsADraw) {
  Load(kThree);
  app.ws.settings.replicates.JC = 0;
  Run("AverageJaccard2Click");
  EXPECT_EQ(host.Errors(),
            std::vector<std::string>{"The average similarity needs at least one random draw per pair of individuals, but JC "
                                     "is 0.\r\nPlease set JC under Options > Replicate Analysis Settings."});
  EXPECT_TRUE(host.reports.empty());
  EXPECT_FALSE(FileExists("analysis.txt"));
  EXPECT_EQ(app.ws.results.active, ResultMatrices::Kept::None);
}

TEST_F(SimilarityCommandsTest, TheAverageNameIsCutToTwentyCharacters) {
  Load(kThree);
  Settings().coefficient = C::SqEuclidean;
  Settings().transformation = DistanceTransformation::D;
  Settings().writeSimilarityMatrix = false;
  app.ws.settings.replicates.JC = 10000;
  Run("AverageJaccard2Click");
  EXPECT_EQ(app.ws.results.activeName, "AvgSqEuclidean10000x");
  app.ws.settings.replicates.JC = 100000;
  Run("AverageJaccard2Click");
  EXPECT_EQ(app.ws.results.activeName, "AvgSqEuclidean100000");
}

TEST_F(SimilarityCommandsTest, TheCoefficientDialogIsTheOptionsCommand) {
  host.dialogs.push_back([](DialogForm& form) {
    form["coefficient"].selected = 4;
    return true;
  });
  Run("SimilarityCoefficientSlection1Click");
  EXPECT_EQ(app.ws.settings.similarity.coefficient, C::Euclidean);
  EXPECT_EQ(host.reports.back(), "Coefficient set to Euclidean (distance). Dist Transform: d'=d. SimOutput on. Pref: Std.");
}

}  // namespace
}  // namespace vorn
