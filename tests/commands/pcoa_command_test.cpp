#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <sstream>

#include "support/command_fixture.h"

namespace vorn {
namespace {

using testing::ReadFile;

class PcoaCommandTest : public testing::CommandTest {
 protected:
  // n individuals I1 ... with a kept Standard matrix of the given lower triangle (similarities,
  // or distances under the distance transformation D).
  void KeepMatrix(std::size_t n, const std::vector<Real>& entries) {
    Workspace& ws = app.ws;
    ws.dataLoaded = true;
    ws.data.individualCount = static_cast<std::uint16_t>(n);
    std::vector<std::string> labels;
    for (std::size_t i = 0; i < n; ++i) labels.push_back(n == 3 ? std::string(1, char('A' + i)) : "I" + std::to_string(i + 1));
    ws.data.individualLabels = LabelTable(labels);
    DistanceMatrix s(n);
    s.entries = entries;
    ws.results.standard = s;
    ws.results.active = ResultMatrices::Kept::Standard;
    ws.results.activeName = "StdJaccard";
    ws.results.individuals = ws.data.individualLabels;
    ws.results.marks.neiLi = ws.settings.similarity.coefficient == SimilarityCoefficient::NeiLi;
  }
  // The block of three individuals on a line (d(A,B) = d(B,C) = 1, d(A,C) = 2) with the solver's
  // line under the title.
  static std::string LineBlock(const std::string& solverLine) {
    return "\r\nPrincipal Coordinate Analysis\r\n\r\n" + solverLine +
           "Number of positive eigenvalues: 1\r\n"
           "First eigenvalue: 2.000000000\r\n"
           "Sum of positive eigenvalues: 2.000000000\r\n"
           "Eigenvalues (as percentages of the sum of positive eigenvalues)\r\n"
           "100.000000000\r\n\r\n"
           "PCoA coordinates\r\n"
           "A 1.000000000 \r\nB 0.000000000 \r\nC -1.000000000 \r\n\r\n";
  }
  // Random similarities below 0.05 between n individuals: distances near 1, nearly Euclidean.
  void KeepRandom(std::size_t n, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<Real> entries;
    for (std::size_t i = 0; i < n; ++i) {
      for (std::size_t j = 0; j < i; ++j) entries.push_back(static_cast<Real>(random() % 50) / 1000);
      entries.push_back(1);
    }
    KeepMatrix(n, entries);
  }
};

TEST_F(PcoaCommandTest, ThreeIndividualsOnALine) {
  KeepMatrix(3, {1, 0, 1, -1, 0, 1});  // d(A,B) = d(B,C) = 1, d(A,C) = 2
  Run("PrincipalCoordinateAnalysis1Click");
  EXPECT_TRUE(host.Errors().empty());
  EXPECT_EQ(host.reports, std::vector<std::string>{"Performing PCoA"});
  EXPECT_EQ(ReadFile("analysis.txt"), LineBlock(""));
  ASSERT_TRUE(app.ws.ordination);
  EXPECT_EQ(app.ws.ordination->matrixName, "StdJaccard");
  EXPECT_EQ(app.ws.ordination->labels, app.ws.data.individualLabels);
  EXPECT_EQ(app.ws.ordination->AxisCount(), 1u);
}

TEST_F(PcoaCommandTest, TheFastSolversAreChosenInTheirDialogAndNamedInTheBlock) {
  const struct {
    int choice;
    std::string name, line;
  } solvers[] = {
      {1, "Divide and conquer (LAPACK dsyevd, double precision)",
       "Eigen solver: divide and conquer (LAPACK dsyevd), double precision"},
      {2, "Relatively robust representations (LAPACK dstemr, double precision)",
       "Eigen solver: relatively robust representations (LAPACK dsytrd, dstemr), double precision"},
  };
  int before = 0;
  for (const auto& solver : solvers) {
    SCOPED_TRACE(solver.name);
    host.reports.clear();
    for (const bool ok : {false, true}) {
      host.dialogs.push_back([&, ok](DialogForm& form) {
        EXPECT_EQ(form["solver"].selected, before);
        form["solver"].selected = solver.choice;
        return ok;
      });
      Run("PCoASettings1Click");
    }
    before = solver.choice;
    EXPECT_EQ(host.reports, std::vector<std::string>{"PCoA Settings: eigen solver " + solver.name + "."});
    KeepMatrix(3, {1, 0, 1, -1, 0, 1});
    std::filesystem::remove(dir.Path() / "analysis.txt");
    Run("PrincipalCoordinateAnalysis1Click");
    EXPECT_EQ(ReadFile("analysis.txt"), LineBlock(solver.line + "\r\n"));
  }
}

TEST_F(PcoaCommandTest, NeedsAnActiveMatrixForTheWorkingIndividuals) {
  Run("PrincipalCoordinateAnalysis1Click");
  KeepMatrix(3, {1, 0, 1, -1, 0, 1});
  app.ws.data.individualLabels = LabelTable({"A", "B", "D"});  // another data set was loaded
  Run("PrincipalCoordinateAnalysis1Click");
  const std::string message = "Need to perform (dis)similarity calculation first.";
  EXPECT_EQ(host.Errors(), (std::vector<std::string>{message, message}));
  EXPECT_FALSE(FileExists("analysis.txt"));
  EXPECT_FALSE(app.ws.ordination);
}

TEST_F(PcoaCommandTest, RefusesWhatCanNeverConvergeAndWritesNothing) {
  const std::string neiLi =
      "The distance between A and B is undefined (they share too few bands for a Nei-Li distance, which is -1); no "
      "principal coordinate analysis was done.";
  const struct {
    std::size_t n;
    std::vector<Real> entries;
    bool neiLi;
    std::string message;
  } cases[] = {
      {1, {1}, false, "A principal coordinate analysis needs at least 2 individuals, but the current data matrix holds 1."},
      {3, {1, std::nanl(""), 1, 0.5L, 0.5L, 1}, false,
       "The distance between A and B is undefined (its coefficient divides by 0); no principal coordinate analysis "
       "was done."},
      {3, {0, -1, 0, 0.5L, 0.5L, 0}, true, neiLi},
  };
  for (const auto& c : cases) {
    host.messages.clear();
    app.ws.settings.similarity.coefficient = c.neiLi ? SimilarityCoefficient::NeiLi : SimilarityCoefficient::Jaccard;
    app.ws.settings.similarity.transformation = c.neiLi ? DistanceTransformation::D : DistanceTransformation::OneMinusS;
    KeepMatrix(c.n, c.entries);
    Run("PrincipalCoordinateAnalysis1Click");
    EXPECT_EQ(host.Errors(), std::vector<std::string>{c.message});
  }
  EXPECT_TRUE(host.reports.empty());
  EXPECT_FALSE(FileExists("analysis.txt"));
}

TEST_F(PcoaCommandTest, CancelWritesNothing) {
  KeepRandom(50, 1);
  host.cancelAfter = 0;
  Run("PrincipalCoordinateAnalysis1Click");
  ASSERT_EQ(host.progress.size(), 1u);
  EXPECT_EQ(host.progress[0].rfind("Principal Coordinate Analysis: Rotation 1024; off-diagonal share ", 0), 0u)
      << host.progress[0];
  EXPECT_EQ(host.progressEnds, 1);
  EXPECT_EQ(host.reports, (std::vector<std::string>{"Performing PCoA",
                                                    "Cancelled: PCoA stopped after 1024 rotations; nothing was written."}));
  EXPECT_FALSE(FileExists("analysis.txt"));
  EXPECT_FALSE(app.ws.ordination);
}

TEST_F(PcoaCommandTest, FiftyCoordinateAxesButEveryPercentage) {
  KeepRandom(60, 2);
  Run("PrincipalCoordinateAnalysis1Click");
  ASSERT_TRUE(app.ws.ordination);
  const std::size_t positive = app.ws.ordination->AxisCount();
  ASSERT_GT(positive, 50u);
  std::istringstream text(ReadFile("analysis.txt"));
  std::string line;
  std::vector<std::string> lines;
  while (std::getline(text, line)) lines.push_back(line.substr(0, line.size() - 1));
  EXPECT_EQ(lines[3], "Number of positive eigenvalues: " + std::to_string(positive));
  ASSERT_EQ(lines.size(), 7 + positive + 2 + 60 + 1);
  EXPECT_EQ(lines[7 + positive + 1], "PCoA coordinates");
  for (std::size_t i = 0; i < 60; ++i) {
    std::istringstream row(lines[7 + positive + 2 + i]);
    std::string label;
    row >> label;
    EXPECT_EQ(label, "I" + std::to_string(i + 1));
    std::size_t numbers = 0;
    for (double x; row >> x;) ++numbers;
    EXPECT_EQ(numbers, 50u);
  }
}

}  // namespace
}  // namespace vorn
