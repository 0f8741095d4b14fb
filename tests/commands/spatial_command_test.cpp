// Analysis > Spatial Autocorrelation stopped from its progress window after its permutations:
// nothing written, nothing kept, and the generator past the draws the permutations made; a run
// written joins the session report.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/command_fixture.h"

namespace vorn {
namespace {

class SpatialCommandTest : public testing::CommandTest {};

TEST_F(SpatialCommandTest, CancelWritesNothingAndTheGeneratorStandsPastTheDrawsMade) {
  Load("a1 a2 b1 b2 c1 c2\n1 0 0 0 1 1\n1 1 1 0 1 0\n0 1 1 0 0 1\n1 1 0 1 0 0\n*\n");
  dir.Write("places.csv", "name,x,y\na1,0,0\na2,1,0\nb1,5,1\nb2,6,2\nc1,9,9\nc2,10,7\n");
  host.dialogs.push_back([](DialogForm& form) {
    form["coordinates_file"].text = "places.csv";
    form["class_count"].text = "2";
    form["permutations"].text = "30";
    form["bootstraps"].text = "20";
    return true;
  });
  host.cancelAfter = 30;  // after the round of all permutations
  const std::uint32_t before = app.ws.random.State();
  Run("SpatialAutocorrelation1Click");
  EXPECT_EQ(host.reports.back(), "Cancelled: 30 of 50 permutations and bootstraps done; nothing was written.");
  EXPECT_EQ(host.progress.front(), "Spatial Autocorrelation: Bootstrap 1 of 20");
  EXPECT_FALSE(std::filesystem::exists("analysis.txt"));
  EXPECT_FALSE(app.ws.correlogram);
  RandomGenerator expected;
  expected.Seed(before);
  expected.Skip(30 * 5);  // 5 draws per permutation of 6 individuals
  EXPECT_EQ(app.ws.random.State(), expected.State());
}

// Written, the run joins the report with the settings it used.
TEST_F(SpatialCommandTest, AWrittenRunJoinsTheReportWithItsSettings) {
  Load("a1 a2 b1 b2 c1 c2\n1 0 0 0 1 1\n1 1 1 0 1 0\n0 1 1 0 0 1\n1 1 0 1 0 0\n*\n");
  dir.Write("places.csv", "name,x,y\na1,0,0\na2,1,0\nb1,5,1\nb2,6,2\nc1,9,9\nc2,10,7\n");
  Answer({{"coordinates_file", "places.csv"}, {"class_count", "2"}, {"permutations", "30"}, {"bootstraps", "20"}});
  host.answers.push_back(MessageAnswer::Yes);
  Run("SpatialAutocorrelation1Click");
  ASSERT_EQ(app.reportRecord.steps.size(), 1u) << (host.Errors().empty() ? "" : host.Errors().front());
  const ReportStep& step = app.reportRecord.steps[0];
  EXPECT_TRUE(step.method.starts_with(
      "Spatial genetic autocorrelation (Smouse & Peakall 1999) of the 6 individuals over 2 distance classes of even "))
      << step.method;
  EXPECT_NE(step.method.find(" and was tested with 30 permutations of the individuals' locations and 20 bootstraps of "
                             "each class's pairs."),
            std::string::npos);
  EXPECT_EQ(step.references, std::vector<std::string>{"smouse1999"});
  EXPECT_EQ(step.figures.size(), 1u);
}

}  // namespace
}  // namespace vorn
