// Matrix Statistics, the two frequency listings and Missing Data Statistics.
#include <gtest/gtest.h>

#include "commands/all_commands.h"
#include "support/command_fixture.h"

namespace vorn {
namespace {

using testing::ReadFile;

// 3 individuals, 4 loci, 2 missing scores of 12.
constexpr const char* kData =
    "a b c\n"
    "1 0 ?\n"
    "0 0 1\n"
    "1 ? 1\n"
    "1 1 1\n"
    "*\n";

class StatisticsCommandsTest : public testing::CommandTest {
 protected:
  void SetUp() override { Load(kData); }
};

TEST_F(StatisticsCommandsTest, MatrixStatisticsShowsAndOnYesAppendsWithoutAsking) {
  dir.Write("analysis.txt", "before\r\n");
  host.answers = {MessageAnswer::No, MessageAnswer::Yes};
  Run("Statistics1Click");
  Run("Statistics1Click");
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(host.messages[0].title, "Statistics");
  EXPECT_EQ(host.messages[0].text,
            "Individuals: 3\r\nLoci: 4\r\nData matrix dimensions: 12 entries\r\nMissing data: 16.67%\r\n\r\n"
            "Write to analysis file?");
  EXPECT_EQ(host.reports, (std::vector<std::string>{"Displaying Data Matrix Statistics",
                                                    "Data Matrix Statistics written to analysis output file"}));
  EXPECT_EQ(ReadFile("analysis.txt"),
            "before\r\nData Matrix Statistics\r\n\r\nIndividuals:  3\r\nLoci:         4\r\nMatrix size:  12\r\n"
            "Missing data: 16.67%\r\n\r\n");
}

TEST_F(StatisticsCommandsTest, MatrixStatisticsWithoutMissingScoresPadsToFiveCharacters) {
  Load("a b\n1 0\n*\n");
  host.answers = {MessageAnswer::No};
  Run("Statistics1Click");
  EXPECT_NE(host.messages[0].text.find("\r\nMissing data:  0.00%\r\n"), std::string::npos);
}

TEST_F(StatisticsCommandsTest, WithoutDataTheStatisticsCommandsSaySo) {
  TMainPrg fresh(host, AllCommands());
  for (const char* handler : {"Statistics1Click", "Frequencies1Click", "FrequenciesperIndividuals1Click", "CheckMissingData1Click"}) {
    fresh.Run(*FindByHandler(fresh.menu, handler));
  }
  EXPECT_EQ(host.Errors(), (std::vector<std::string>{"No data loaded", "No data loaded!", "No data loaded!", "No data loaded!"}));
}

TEST_F(StatisticsCommandsTest, FrequenciesPerLociFollowTheAnswerAndSetTheShannonBasis) {
  host.answers = {MessageAnswer::Yes};
  Run("Frequencies1Click");
  EXPECT_EQ(host.messages[0].title, "Shannon Frequencies");
  EXPECT_EQ(host.messages[0].text,
            "Should frequencies be calulated per locus?\r\nFrq(locus) = presences(locus)/#individuals\r\n\r\n"
            "The alternative (Clicking No) is default for Shannon's index and its variance and is: \r\n"
            "Frq(locus) = presences(locus)/presences(datamatrix)");
  EXPECT_EQ(app.ws.settings.shannon.frequencyBasis, FrequencyBasis::PerIndividual);
  EXPECT_EQ(host.reports, std::vector<std::string>{"Writing frequencies to analysis output file. Frq/Locus= true"});
  EXPECT_EQ(ReadFile("analysis.txt"),
            "Frequencies (band presences) in loci:\r\n\r\nLocus1 0.333333333\r\nLocus2 0.333333333\r\n"
            "Locus3 0.666666667\r\nLocus4 1.000000000\r\n\r\n");

  host.answers = {MessageAnswer::No, MessageAnswer::No};  // relative frequencies; rewrite the file
  Run("Frequencies1Click");
  EXPECT_EQ(app.ws.settings.shannon.frequencyBasis, FrequencyBasis::RelativeToAllPresences);
  EXPECT_EQ(host.reports.back(), "Writing frequencies to analysis output file. Frq/Locus= false");
  EXPECT_EQ(ReadFile("analysis.txt"),
            "Frequencies (band presences) in loci:\r\n\r\nLocus1 0.142857143\r\nLocus2 0.142857143\r\n"
            "Locus3 0.285714286\r\nLocus4 0.428571429\r\n\r\n");
}

TEST_F(StatisticsCommandsTest, MissingDataStatisticsListsSharesAsPercentages) {
  app.ws.data.individualLabels.Clear();
  Run("CheckMissingData1Click");
  EXPECT_EQ(host.reports, std::vector<std::string>{"Writing missing data statistics to analysis output file:"});
  EXPECT_EQ(ReadFile("analysis.txt"),
            "Missing data in individuals\r\n\r\nOTU1  0.00 %\r\nOTU2 25.00 %\r\nOTU3 25.00 %\r\n\r\n"
            "Missing data in loci\r\n\r\nLocus1 33.33 %\r\nLocus2  0.00 %\r\nLocus3 33.33 %\r\nLocus4  0.00 %\r\n\r\n");
}

TEST_F(StatisticsCommandsTest, ADataErrorStopsTheListingBeforeTheFileIsTouched) {
  app.ws.data.cells[4] = 7;
  host.answers = {MessageAnswer::No};
  Run("Frequencies1Click");
  Run("FrequenciesperIndividuals1Click");
  EXPECT_EQ(host.Errors(), (std::vector<std::string>{"Frequencies: Data Matrix Error", "Frequencies (indiv): Data Matrix Error"}));
  EXPECT_FALSE(FileExists("analysis.txt"));
  EXPECT_TRUE(host.reports.empty());
}

}  // namespace
}  // namespace vorn
