// Options > MR Consensus And R-Support Settings and Replicate Analyses > Estimate R-support (TR):
// the dialog's fields, refusals and report line; the command's warning, refusals, files,
// progress and Cancel.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "support/command_fixture.h"

namespace vorn {
namespace {

using testing::kFiveIndividuals;
using testing::ReadFile;

constexpr const char* kWarning =
    "This is a very resource-intensive process (i.e., CPU, time and memory-intensive).\r\n"
    "The program will NOT respond to user input until it has completed the calculations.\r\n"
    "Do you wish to proceed?";

// ---- Settings dialog ----

class ConsensusSettingsTest : public testing::CommandTest {
 protected:
  void Settings() { Run("MajorityRuleRvalueAnalysisSetting1Click"); }
};

TEST_F(ConsensusSettingsTest, ShowsTheSettingsAndReportsThemLetterForLetter) {
  host.dialogs.push_back([](DialogForm& form) {
    EXPECT_EQ(form.Caption(), "Consensus & R-support Options");
    const std::vector<std::tuple<std::string, std::string, std::string, bool>> fields = {
        {"mr_threshold", "Majority Rule Consensus Threshold...", "70", true},
        {"r_threshold", "Use Majority Rule Consensus at...", "100", true},
        {"r_from", "r value ranging from...", "1", true},
        {"r_to", "to...", "10000", true},
        {"digits", "Desired precision of R-values...", "1", true},
        {"rx_threshold", "Rx-Consensus Threshold r=", "10000", true},
        {"stop_percent", "", "50", false}};
    for (const auto& [key, caption, text, visible] : fields) {
      EXPECT_EQ(form[key].caption, caption);
      EXPECT_EQ(form[key].text, text);
      EXPECT_EQ(form[key].visible, visible) << key;
    }
    EXPECT_EQ(form["mr_threshold"].frame, "Majority Rule Consensus Trees");
    EXPECT_EQ(form["digits"].suffix, "digits");
    EXPECT_EQ(form["stop_percent"].suffix, "% JC");
    for (const char* key : {"output_inconsistent", "output_individual", "stop_inconsistent"}) {
      EXPECT_FALSE(form[key].visible);
      EXPECT_TRUE(form[key].checked);
    }
    return true;
  });
  Settings();
  EXPECT_EQ(host.reports, std::vector<std::string>{
                              "MR-Thresh=70%. R: MR-Thresh=100%. Rx-Thresh= 10000. r: 1-10000. Precision 1 digits."});
}

TEST_F(ConsensusSettingsTest, TakesEveryFieldAndTheHiddenOnes) {
  Answer({{"mr_threshold", "55"}, {"r_threshold", " 80 "}, {"r_from", "2"}, {"r_to", "500"}, {"digits", "0"},
          {"rx_threshold", "300"}, {"stop_percent", "25"}});
  Settings();
  const ConsensusSettings& s = app.ws.settings.consensus;
  EXPECT_EQ(host.reports.back(), "MR-Thresh=55%. R: MR-Thresh=80%. Rx-Thresh= 300. r: 2-500. Precision 0 digits.");
  EXPECT_EQ(s.stopInconsistentFraction, 0.25);
  host.dialogs.push_back([](DialogForm& form) {
    form["stop_inconsistent"].checked = false;
    return true;
  });
  Settings();
  EXPECT_EQ(s.stopInconsistentFraction, -9.0);
  host.dialogs.push_back([](DialogForm& form) {
    EXPECT_EQ(form["stop_percent"].text, "-900");  // the stored fraction × 100
    return false;
  });
  Settings();
}

TEST_F(ConsensusSettingsTest, RefusesEachBadFieldAloneAndKeepsItsValue) {
  struct Case {
    std::vector<std::pair<std::string, std::string>> fields;
    std::string message;
  };
  const std::vector<Case> cases = {
      {{{"mr_threshold", "abc"}}, "Invalid input. Please repeat!"},
      {{{"mr_threshold", ""}}, "Invalid input. Please repeat!"},
      {{{"mr_threshold", "49"}}, "The majority-rule consensus threshold must be from 50 to 100, not 49; it keeps its value."},
      {{{"r_threshold", "101"}}, "The R-support consensus threshold must be from 50 to 100, not 101; it keeps its value."},
      {{{"r_threshold", "356"}}, "The R-support consensus threshold must be from 50 to 100, not 356; it keeps its value."},
      {{{"r_from", "0"}}, "The smallest r must be at least 1, not 0; it keeps its value."},
      {{{"r_from", "20"}, {"r_to", "10"}}, "The smallest r (20) must not exceed the largest r (10); both keep their values."},
      {{{"r_to", "4294967296"}}, "Invalid input. Please repeat!"},
      {{{"digits", "256"}}, "The precision must be from 0 to 255, not 256; it keeps its value."},
      {{{"rx_threshold", "-5"}}, "The Rx-consensus threshold must be at least 1, not -5; it keeps its value."},
  };
  for (const Case& c : cases) {
    host.messages.clear();
    Answer(c.fields);
    Settings();
    EXPECT_EQ(host.Errors(), std::vector<std::string>{c.message}) << c.fields.front().first;
    EXPECT_EQ(host.reports.back(),
              "MR-Thresh=70%. R: MR-Thresh=100%. Rx-Thresh= 10000. r: 1-10000. Precision 1 digits.");
  }
}

TEST_F(ConsensusSettingsTest, ARangeFieldIsCheckedAgainstTheOtherStoredOne) {
  Answer({{"r_from", "20"}, {"r_to", "x"}});
  Settings();
  EXPECT_EQ(app.ws.settings.consensus.rFrom, 20);
  host.messages.clear();
  Answer({{"r_from", "x"}, {"r_to", "10"}});
  Settings();
  EXPECT_EQ(host.Errors(), (std::vector<std::string>{"Invalid input. Please repeat!",
                                                     "The smallest r (20) must not exceed the largest r (10); both keep "
                                                     "their values."}));
  EXPECT_EQ(app.ws.settings.consensus.rTo, 10000);
}

TEST_F(ConsensusSettingsTest, CancelKeepsEverything) {
  Answer({{"mr_threshold", "90"}, {"r_from", "abc"}}, false);
  Settings();
  EXPECT_EQ(app.ws.settings.consensus.majorityThreshold, 70);
  EXPECT_TRUE(host.reports.empty());
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(ConsensusSettingsTest, TheMajorityRuleConsensusUsesTheThreshold) {
  dir.Write("outtree.ph", "((A,B),C);\n((A,B),C);\n((A,C),B);\n");
  Answer({{"mr_threshold", "60"}});
  Settings();
  Run("MajorityRuleConsensus1Click");
  EXPECT_EQ(ReadFile("constree.ph"), "((A,B)67,C)100;\r\n");
  Answer({{"mr_threshold", "70"}});
  Settings();
  host.answers.push_back(MessageAnswer::No);  // rewrite constree.ph
  host.answers.push_back(MessageAnswer::Yes);
  Run("MajorityRuleConsensus1Click");
  EXPECT_EQ(ReadFile("constree.ph"), "(A,B,C)100;\r\n");
}

// ---- The command ----

class RSupportCommandTest : public testing::CommandTest {
 protected:
  void SetUp() override {
    app.ws.settings.replicates.TR = 4;
    app.ws.settings.consensus.rTo = 50;
  }
  void Estimate() { Run("EstimateRsupport1Click"); }
};

TEST_F(RSupportCommandTest, RefusesWithoutDataTreesOrIndividualsBeforeTheWarning) {
  Estimate();
  EXPECT_EQ(host.Errors(), std::vector<std::string>{"No data loaded!"});
  Load(kFiveIndividuals);
  host.messages.clear();
  app.ws.settings.replicates.TR = 0;
  Estimate();
  EXPECT_EQ(host.Errors(), std::vector<std::string>{"R-support builds TR trees at each r, but TR is 0.\r\n"
                                                    "Please set TR under Options > Replicate Analysis Settings."});
  Load("A\n1\n0\n*\n");
  host.messages.clear();
  app.ws.settings.replicates.TR = 4;
  Estimate();
  EXPECT_EQ(host.Errors(),
            std::vector<std::string>{"A tree needs at least 2 individuals, but the current data matrix holds 1."});
  EXPECT_FALSE(std::filesystem::exists("constree.ph"));
}

TEST_F(RSupportCommandTest, NoToTheWarningDoesNothing) {
  Load(kFiveIndividuals);
  host.answers.push_back(MessageAnswer::No);
  Estimate();
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, kWarning);
  EXPECT_EQ(host.messages[0].title, "Warning");
  EXPECT_TRUE(host.reports.empty());
  EXPECT_FALSE(std::filesystem::exists("constree.ph"));
}

TEST_F(RSupportCommandTest, WritesTheRxConsensusAndTheReportAndKeepsJC) {
  Load(kFiveIndividuals);
  host.answers.push_back(MessageAnswer::Yes);
  Estimate();
  EXPECT_EQ(host.reports, std::vector<std::string>{"Estimating R support..."});
  EXPECT_TRUE(host.Errors().empty());
  const std::string tree = ReadFile("constree.ph");
  EXPECT_EQ(tree.find(' '), std::string::npos);
  EXPECT_EQ(tree.substr(tree.size() - 7), "R0.0;\r\n");  // the root holds from r = 1 on
  const std::string report = ReadFile("analysis.txt");
  EXPECT_EQ(report.rfind("Clusters found during Rx-consensus construction:\r\n\r\n12345\r\n", 0), 0u);
  EXPECT_NE(report.find(" 100x @r= 1\r\n"), std::string::npos);
  EXPECT_NE(report.find("...where...\r\nOTU #1= "), std::string::npos);
  EXPECT_EQ(app.ws.settings.replicates.JC, 100);
  EXPECT_EQ(host.progress.front(), "Estimate R-support (TR): r= 1: tree 1 of 4");
  EXPECT_EQ(host.progressEnds, 1);

  // The same seed gives the same result on one thread.
  const std::string first = tree;
  std::filesystem::remove("constree.ph");
  app.ws.random.Seed(7);
  host.answers.push_back(MessageAnswer::Yes);
  host.answers.push_back(MessageAnswer::Yes);
  Estimate();
  const std::string seven = ReadFile("constree.ph");
  std::filesystem::remove("constree.ph");
  app.ws.random.Seed(7);
  host.answers.push_back(MessageAnswer::Yes);
  host.answers.push_back(MessageAnswer::Yes);
  Estimate();
  EXPECT_EQ(ReadFile("constree.ph"), seven);
}

TEST_F(RSupportCommandTest, CancelWritesNothingAndSaysSo) {
  Load(kFiveIndividuals);
  dir.Write("constree.ph", "kept\r\n");
  host.answers.push_back(MessageAnswer::Yes);
  host.cancelAfter = 2;
  Estimate();
  EXPECT_EQ(host.reports.back(), "R-support cancelled: nothing was written.");
  EXPECT_EQ(ReadFile("constree.ph"), "kept\r\n");
  EXPECT_FALSE(std::filesystem::exists("analysis.txt"));
  EXPECT_EQ(host.progressEnds, 1);
}

TEST_F(RSupportCommandTest, AFailureIsAppendedWithoutTheRewriteQuestion) {
  // A threshold of 50 % over two trees admits two contradicting clusters when the trees differ.
  Load("A B C D E F\n1 ? ? ? ? 0\n? 1 ? ? 0 ?\n? ? 1 0 ? ?\n0 ? ? 1 ? ?\n? 0 ? ? 1 ?\n? ? 0 ? ? 1\n*\n");
  dir.Write("constree.ph", "kept\r\n");
  app.ws.settings.replicates.TR = 2;
  app.ws.settings.consensus.rSupportThreshold = 50;
  host.answers.push_back(MessageAnswer::Yes);
  Estimate();
  const auto errors = host.Errors();
  ASSERT_GE(errors.size(), 2u);
  EXPECT_EQ(errors.back(), "R-support analysis failed");
  // No cluster report is written: the clusters are named by the individuals' labels.
  const std::regex members(R"(^The clusters \{[A-F](, [A-F])*\} and \{[A-F](, [A-F])*\} both qualify)");
  EXPECT_TRUE(std::regex_search(errors[errors.size() - 2], members)) << errors[errors.size() - 2];
  EXPECT_EQ(ReadFile("constree.ph"), "kept\r\nR-support failure\r\n");
  EXPECT_FALSE(std::filesystem::exists("analysis.txt"));
}

}  // namespace
}  // namespace vorn
