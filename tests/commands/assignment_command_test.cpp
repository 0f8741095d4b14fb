// Analysis > Assignment Test: the inputs refused (with nothing written), the tables written on
// Yes, and Cancel during the simulations.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/command_fixture.h"

namespace vorn {
namespace {

constexpr const char* kThreePopulations =
    "a1 a2 a3 b1 b2 b3 c1 c2 u1\n"
    "1 1 1 0 0 0 1 0 1\n"
    "1 1 0 0 0 1 0 0 1\n"
    "0 0 0 1 1 1 1 1 0\n"
    "1 0 1 1 0 1 0 1 1\n"
    "*\n"
    "[Groups]\n"
    "AllData/A = a1, a2, a3;\n"
    "AllData/B = b1, b2, b3;\n"
    "AllData/C = c1, c2;\n"
    "AllData/Unknown = u1, c2;\n"
    "*\n";

class AssignmentCommandTest : public testing::CommandTest {};

struct Refusal {
  std::vector<std::pair<std::string, std::string>> fields;
  std::string error;
};

TEST_F(AssignmentCommandTest, RefusalsNameTheirCauseAndWriteNothing) {
  const std::vector<Refusal> refusals = {
      {{{"assign_only", "Unknown"}},
       "There is no group \"Unknown\" to assign only; name it by its whole path, as in \"AllData/Unknown\"."},
      {{{"assign_only", "AllData/Unknown"}},
       "The population AllData/C has 1 reference individual; each individual is left out of its own population, "
       "so every population needs at least 2."},
      {{{"assign_only", ""}, {"level", "2"}},
       "The populations of level 2 (groups 3 deep in the hierarchy) number 0; this command needs at least 2."},
      {{{"level", "1"}, {"simulations", "100001"}},
       "The number of simulated profiles (simulations) must be a whole number from 0 to 100000, not \"100001\"."},
  };
  Load(kThreePopulations);
  for (const Refusal& refusal : refusals) {
    host.messages.clear();
    Answer(refusal.fields);
    Answer({}, false);  // a dialog shown again after its refusal is cancelled
    Run("AssignmentTest1Click");
    host.dialogs.clear();
    EXPECT_EQ(host.Errors(), std::vector<std::string>{refusal.error}) << refusal.error;
    EXPECT_FALSE(std::filesystem::exists("analysis.txt"));
  }
}

TEST_F(AssignmentCommandTest, WritesBothTablesOnYes) {
  Load(kThreePopulations);
  Answer({{"table_file", "assignment.tsv"}});
  host.answers = {MessageAnswer::Yes};
  Run("AssignmentTest1Click");
  EXPECT_EQ(host.reports, std::vector<std::string>{"Assignment Test: 4 populations at level 1"});
  const std::string analysis = testing::ReadFile("analysis.txt");
  EXPECT_NE(analysis.find("Assignment test (Duchesne & Bernatchez 2002): 9 individuals, 4 populations of level 1, "
                          "4 loci (4 polymorphic among the references)\r\n"),
            std::string::npos);
  const std::string copy = testing::ReadFile("assignment.tsv");
  EXPECT_EQ(copy.substr(0, copy.find("\r\n")),
            "Individual\tPopulation\tLoci\tlog10L(AllData/A)\tlog10L(AllData/B)\tlog10L(AllData/C)\t"
            "log10L(AllData/Unknown)\tAssigned\tLLR");
  // c2 belongs to two populations and is counted in both rows of the second table.
  EXPECT_NE(copy.find("\r\nc2\tAllData/C+AllData/Unknown\t4\t"), std::string::npos);
}

TEST_F(AssignmentCommandTest, NamesTheIndividualsLeftOutBelowTheTable) {
  // u1 is never scored, so c2, left out of AllData/Unknown, finds no reference scored there.
  std::string data = kThreePopulations;
  for (std::size_t line = data.find('\n') + 1; data[line] != '*'; line = data.find('\n', line) + 1) {
    data[data.find('\n', line) - 1] = '?';
  }
  Load(data);
  Answer({});
  host.answers = {MessageAnswer::Yes};
  Run("AssignmentTest1Click");
  EXPECT_NE(host.messages.at(0).text.find("Left out without a locus to compare by: 2 individuals\r\n"),
            std::string::npos);
  const std::string analysis = testing::ReadFile("analysis.txt");
  EXPECT_NE(analysis.find("Left out: c2 (no locus scored both in it and in every population).\r\n"
                          "Left out: u1 (no locus scored both in it and in every population).\r\n"),
            std::string::npos);
}

TEST_F(AssignmentCommandTest, CancelDuringTheSimulationsWritesNothing) {
  Load(kThreePopulations);
  Answer({{"simulations", "10"}});
  host.cancelAfter = 0;
  Run("AssignmentTest1Click");
  EXPECT_EQ(host.progress.front(), "Assignment Test: Individual 9 of 9");
  EXPECT_EQ(host.reports.back(), "Cancelled: 8 individuals simulated; nothing was written.");
  EXPECT_TRUE(host.messages.empty());
  EXPECT_FALSE(std::filesystem::exists("analysis.txt"));
}

}  // namespace
}  // namespace vorn
