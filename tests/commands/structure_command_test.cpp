// Analysis > Population Structure: the refusals (nothing written), an individual without scores
// left out by name, Cancel writing nothing, and groups from clusters joining the group list.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "support/command_fixture.h"

namespace vorn {
namespace {

// Two clear populations of three, each fixed for its own bands; x1 has no score at all.
constexpr const char* kTwoPopulations =
    "a1 a2 a3 b1 b2 b3 x1\n"
    "1 1 1 0 0 0 ?\n"
    "1 1 1 0 0 0 ?\n"
    "1 1 0 0 0 0 ?\n"
    "0 0 0 1 1 1 ?\n"
    "0 0 0 1 1 1 ?\n"
    "0 0 0 1 0 1 ?\n"
    "1 1 1 0 0 1 ?\n"
    "0 0 0 1 1 1 ?\n"
    "*\n"
    "[Groups]\n"
    "AllData/A = a1, a2, a3;\n"
    "AllData/B = b1, b2, b3;\n"
    "*\n";

class StructureCommandTest : public testing::CommandTest {};

TEST_F(StructureCommandTest, RefusalsNameTheirCauseAndWriteNothing) {
  const std::string monomorphic = "a1 a2 a3\n1 1 1\n0 0 0\n1 1 1\n*\n";
  const std::string alone = "a1 a2\n1 ?\n0 ?\n*\n";
  struct Refusal {
    std::string data;
    std::vector<std::pair<std::string, std::string>> fields;
    std::string error;
  };
  const std::vector<Refusal> refusals = {
      {kTwoPopulations, {{"max_k", "7"}},
       "The largest K (7) is larger than the number of individuals with a score (6)."},
      {kTwoPopulations, {{"min_k", "3"}, {"max_k", "2"}}, "The smallest K (3) is larger than the largest K (2)."},
      {kTwoPopulations, {{"min_k", "1"}, {"runs", "0"}}, "The runs per K must be at least 1."},
      {kTwoPopulations, {{"runs", "2"}, {"reported_k", "3"}}, "The K reported (3) lies outside K = 1 to 2."},
      {kTwoPopulations, {{"reported_k", "0"}, {"runs", "ten"}}, "Invalid input. Please repeat."},
      {monomorphic, {{"runs", "2"}},
       "Population structure needs at least two polymorphic loci (scored with and without the band); there are 0."},
      {alone, {},
       "Population structure needs at least two individuals with a score; 1 of 2 have one."},
  };
  for (const Refusal& refusal : refusals) {
    Load(refusal.data);
    host.messages.clear();
    Answer(refusal.fields);
    Run("PopulationStructure1Click");
    EXPECT_EQ(host.Errors(), std::vector<std::string>{refusal.error}) << refusal.error;
    EXPECT_FALSE(std::filesystem::exists("analysis.txt"));
  }
}

TEST_F(StructureCommandTest, CancelWritesNothing) {
  Load(kTwoPopulations);
  Answer({{"max_k", "2"}, {"runs", "2"}, {"folds", "2"}, {"q_files", "q"}});
  host.cancelAfter = 1;
  Run("PopulationStructure1Click");
  EXPECT_TRUE(host.Errors().empty()) << host.Errors().front();
  // The other core may finish fits of its own before the cancel is seen: the count is not fixed.
  EXPECT_TRUE(std::regex_match(host.reports.back(), std::regex("Cancelled: [0-7] of 8 fits done; nothing was written\\.")))
      << host.reports.back();
  EXPECT_FALSE(std::filesystem::exists("analysis.txt"));
  EXPECT_FALSE(std::filesystem::exists("q_K1.tsv"));
}

TEST_F(StructureCommandTest, LeavesOutTheUnscoredAndMakesGroupsFromClusters) {
  Load(kTwoPopulations);
  Answer({{"max_k", "3"}, {"runs", "3"}, {"folds", "2"}, {"reported_k", "2"}, {"q_files", "q"}});
  host.dialogs.back() = [inner = host.dialogs.back()](DialogForm& form) {
    form["make_groups"].checked = true;
    return inner(form);
  };
  host.answers = {MessageAnswer::Yes};
  Run("PopulationStructure1Click");
  ASSERT_TRUE(host.Errors().empty()) << host.Errors().front();
  EXPECT_NE(std::find(host.reports.begin(), host.reports.end(), "Left out, every score missing: 1 individual (x1)"),
            host.reports.end());
  const GroupList& groups = app.ws.groups.groups;
  ASSERT_EQ(groups.size(), 6u);
  EXPECT_EQ(groups[3].name, "AllData/Clusters_K2");
  EXPECT_EQ(groups[3].members, (std::vector<std::string>{"a1", "a2", "a3", "b1", "b2", "b3"}));
  // The two clusters are the populations A and B, in either order.
  EXPECT_EQ(groups[4].members.size(), 3u);
  EXPECT_EQ(groups[5].members.size(), 3u);
  EXPECT_EQ(groups[4].members[0].front(), groups[4].members[2].front());
  EXPECT_NE(groups[4].members[0].front(), groups[5].members[0].front());
  const std::string q2 = testing::ReadFile("q_K2.tsv");
  EXPECT_EQ(q2.substr(0, q2.find("\r\n")), "Individual\tPopulation\tq1\tq2");
  EXPECT_NE(q2.find("\r\na1\tA\t"), std::string::npos);
  EXPECT_EQ(q2.find("x1"), std::string::npos);
  const std::string analysis = testing::ReadFile("analysis.txt");
  EXPECT_NE(analysis.find("Left out, every score missing: x1."), std::string::npos);
  // A second run for the same K replaces the groups of the first.
  Answer({});
  host.dialogs.back() = [inner = host.dialogs.back()](DialogForm& form) {
    form["make_groups"].checked = true;
    form["threshold"].text = "1";
    return inner(form);
  };
  host.answers = {MessageAnswer::No};
  Run("PopulationStructure1Click");
  ASSERT_EQ(groups.size(), 5u);
  EXPECT_EQ(groups.back().name, "AllData/Clusters_K2/Admixed");
  EXPECT_EQ(groups.back().members.size(), 6u);
}

}  // namespace
}  // namespace vorn
