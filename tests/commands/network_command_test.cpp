// Trees > NeighborNet with bootstrap support: the progress, the support line and column, the
// Nexus confidences, and Cancel and a BS of 0, which leave every file as it was.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/text_file.h"
#include "support/command_fixture.h"

namespace vorn {
namespace {

using testing::ReadFile;

class NetworkCommandTest : public testing::CommandTest {
 protected:
  NetworkCommandTest() {
    app.ws.random.Seed(5);
    app.ws.settings.replicates.BS = 4;
  }

  // The matrix, then NeighborNet with support ticked (or not) and the splits to net.nex.
  void RunNetwork(bool support) {
    Load(testing::kFiveIndividuals);
    Run("Jaccard1Click");
    host.reports.clear();
    host.dialogs.push_back([support](DialogForm& form) {
      form["splits_file"].text = "net.nex";
      form["bootstrap_support"].checked = support;
      return true;
    });
    host.answers = {MessageAnswer::Yes};  // append to the analysis file
    analysisBefore = ReadFile("analysis.txt");
    Run("NeighborNet1Click");
  }

  std::string analysisBefore;
};

TEST_F(NetworkCommandTest, SupportIsOffByDefault) {
  EXPECT_FALSE(app.dialogs.neighborNet.form["bootstrap_support"].checked);
  RunNetwork(false);
  // The build's own progress, its joins first.
  ASSERT_FALSE(host.progress.empty());
  EXPECT_EQ(host.progress.front(), "NeighborNet: Join 1 of 4");
  EXPECT_EQ(host.progressEnds, 1);
  EXPECT_EQ(ReadFile("analysis.txt").find("Support: per cent"), std::string::npos);
  EXPECT_NE(ReadFile("net.nex").find("CONFIDENCES=NO"), std::string::npos);
}

TEST_F(NetworkCommandTest, SupportShowsProgressAndIsWrittenToBothFiles) {
  RunNetwork(true);
  ASSERT_TRUE(host.Errors().empty());
  EXPECT_EQ(host.progress.front(), "NeighborNet: Join 1 of 4");
  EXPECT_NE(std::find(host.progress.begin(), host.progress.end(), "NeighborNet: Replicate 1 of 4"), host.progress.end());
  EXPECT_EQ(host.progress.back(), "NeighborNet: Replicate 4 of 4");
  EXPECT_EQ(host.progressEnds, 2);
  ASSERT_FALSE(host.reports.empty());
  EXPECT_TRUE(host.reports.back().ends_with(", support from 4 bootstrap networks")) << host.reports.back();
  const std::string analysis = ReadFile("analysis.txt");
  EXPECT_NE(analysis.find("Support: per cent of 4 bootstrap replicate networks holding the split"), std::string::npos);
  EXPECT_NE(ReadFile("net.nex").find("CONFIDENCES=YES"), std::string::npos);
  ASSERT_TRUE(app.network);
  for (const NetworkSplit& split : app.network->net.splits) {
    // Four networks: every support a multiple of 25 %.
    EXPECT_TRUE(split.support == 0 || split.support == 25 || split.support == 50 || split.support == 75 ||
                split.support == 100)
        << split.support;
  }
}

// Cancel in the agglomeration or among the replicate networks.
TEST_F(NetworkCommandTest, CancelWritesNothing) {
  const struct {
    const char* at;
    const char* report;
  } cases[] = {{"NeighborNet: Join 2 of 4", "Cancelled: no NeighborNet was built."},
               {"NeighborNet: Replicate 3 of 4", "Cancelled after 2 of 4 replicate networks; no NeighborNet was written."}};
  app.ws.settings.existingOutputFile = ExistingOutputFile::Append;  // the matrix of each case
  for (const auto& c : cases) {
    host.cancelAt = c.at;
    RunNetwork(true);
    EXPECT_EQ(host.reports.back(), c.report);
    EXPECT_TRUE(host.Errors().empty()) << c.at;
    EXPECT_EQ(ReadFile("analysis.txt"), analysisBefore);
    EXPECT_FALSE(FileExists("net.nex"));
    EXPECT_FALSE(app.network);
  }
}

TEST_F(NetworkCommandTest, ABootstrapCountOfZeroIsRefusedBeforeAnythingIsBuilt) {
  app.ws.settings.replicates.BS = 0;
  RunNetwork(true);
  EXPECT_EQ(host.Errors(), std::vector<std::string>{"Bootstrap support needs at least 1 replicate, but BS is 0 "
                                                    "(Options > Replicate Analysis Settings); no NeighborNet was built."});
  EXPECT_TRUE(host.progress.empty());
  EXPECT_EQ(ReadFile("analysis.txt"), analysisBefore);
  EXPECT_FALSE(FileExists("net.nex"));
}

}  // namespace
}  // namespace vorn
