// AMOVA and AMOVA Permutation Test: questions, messages, result blocks, the active group.
#include <gtest/gtest.h>

#include "support/command_fixture.h"

namespace vorn {
namespace {

using testing::ReadFile;

// Two populations of two identical individuals each, different between the populations.
constexpr const char* kTwoPopulations =
    "a1 a2 b1 b2\n"
    "1 1 0 0\n"
    "1 1 0 0\n"
    "0 0 1 1\n"
    "*\n"
    "[Groups]\n"
    "AllData/A = a1, a2;\n"
    "AllData/B = b1, b2;\n"
    "*\n";

constexpr const char* kCaution =
    "Please make sure that all individuals in your data matrix are actually\r\n"
    "partitioned into appropriate groups at all levels and that no individuals\r\n"
    "are left out. Otherwise, the AMOVA calculations will be meaningless.\r\n\r\n\r\nDo you wish to proceed?";

class AmovaCommandsTest : public testing::CommandTest {};

TEST_F(AmovaCommandsTest, WithoutDataOrGroupsNothingIsAsked) {
  Run("AMOVA1Click");
  Load("a b\n1 0\n*\n");
  Run("AMOVAPermutationTest1Click");
  EXPECT_EQ(host.Errors(), (std::vector<std::string>{"No data loaded!", "Groups must be defined for AMOVA"}));
}

TEST_F(AmovaCommandsTest, NoAtTheCautionComputesAndReportsNothing) {
  Load(kTwoPopulations);
  host.answers = {MessageAnswer::No};
  Run("AMOVA1Click");
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].title, "Caution");
  EXPECT_EQ(host.messages[0].text, kCaution);
  EXPECT_TRUE(host.reports.empty());
}

TEST_F(AmovaCommandsTest, OneLevelSummaryAndResultsBlock) {
  Load(kTwoPopulations);
  host.answers = {MessageAnswer::Yes, MessageAnswer::Yes};
  Run("AMOVA1Click");
  EXPECT_EQ(host.reports, std::vector<std::string>{"Performing AMOVA (2 levels)"});
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(host.messages[1].title, "AMOVA");
  EXPECT_EQ(host.messages[1].text,
            "Va= 100.000000000%\r\nVb= 0.000000000%\r\n\r\nPhiST= 1.000000000\r\n\r\nWrite results to analysis file?");
  EXPECT_EQ(ReadFile("analysis.txt"),
            "AMOVA results\r\nCoefficient: Standard Jaccard. Distance Transformation: d=1-s.\r\n\r\n"
            "SSD(AP)= 1.000000000, df(AP)= 1\r\nSSD(WP)= 0.000000000, df(WP)= 2\r\n"
            "SSD(T)= 1.000000000, df(T)= 3\r\n\r\n"
            "Va= 0.500000000, %Var= 100.000000000\r\nVb= 0.000000000, %Var= 0.000000000\r\n"
            "Vt= 0.500000000\r\n\r\nPhiST= 1.000000000\r\n\r\n");
}

TEST_F(AmovaCommandsTest, TheActiveGroupIsActiveAgainAfterARefusal) {
  Load(std::string(kTwoPopulations).replace(std::string(kTwoPopulations).find("b1, b2"), 6, "b1, zz"));
  SelectGroupEntry(1);
  ASSERT_EQ(app.ws.data.individualCount, 2);
  host.answers = {MessageAnswer::Yes};
  Run("AMOVA1Click");
  EXPECT_EQ(host.Errors(),
            std::vector<std::string>{
                "The AMOVA cannot run: \"zz\" of the group AllData/B is not an individual of the data."});
  EXPECT_EQ(app.ws.groups.activeGroup, 1);
  EXPECT_EQ(app.ws.data.individualCount, 2);
}

TEST_F(AmovaCommandsTest, PermutationTestRefusesZeroThenShowsAndWritesTheSignificance) {
  Load(kTwoPopulations);
  SelectGroupEntry(2);
  Answer({{"value", "0"}});
  Answer({{"value", "5"}});
  host.answers = {MessageAnswer::Yes, MessageAnswer::Yes};
  Run("AMOVAPermutationTest1Click");
  EXPECT_EQ(host.dialogCaptions,
            (std::vector<std::string>{"File Parameter Selection", "Permutations", "Permutations"}));
  EXPECT_EQ(host.Errors(), std::vector<std::string>{"Invalid input. Please repeat."});
  EXPECT_EQ(host.reports.back(), "Performing AMOVA (2 levels) with 5 permutations");
  EXPECT_EQ(host.messages.back().title, "AMOVA Permutation Test");
  const std::string text = host.messages.back().text;
  EXPECT_EQ(text.substr(0, text.find("p(Va, PhiST)= ")),
            "Va= 100.000000000%\r\nVb= 0.000000000%\r\n\r\nPhiST= 1.000000000\r\n\r\nPermutations: 5\r\n");
  const std::string file = ReadFile("analysis.txt");
  EXPECT_NE(file.find("PhiST= 1.000000000\r\n\r\nSignificance by 5 random permutations\r\n"
                      "Va, PhiST: individuals permuted among all populations, p= "),
            std::string::npos);
  EXPECT_EQ(app.ws.groups.activeGroup, 2);
  EXPECT_EQ(app.ws.settings.amovaPermutations, 5);
}

TEST_F(AmovaCommandsTest, PermutationTestShowsItsProgressAndCancelWritesNothing) {
  Load(kTwoPopulations);
  Answer({{"value", "5"}});
  host.answers = {MessageAnswer::Yes};
  host.cancelAfter = 1;
  Run("AMOVAPermutationTest1Click");
  EXPECT_EQ(host.progress.front(), "AMOVA Permutation Test: Permutation 1 of 5");
  EXPECT_EQ(host.reports.back(), "Cancelled: the permutation test stopped after 5 of 5 permutations; nothing was written.");
  EXPECT_EQ(host.messages.back().title, "Caution");  // no summary box
  EXPECT_FALSE(FileExists("analysis.txt"));
}

}  // namespace
}  // namespace vorn
