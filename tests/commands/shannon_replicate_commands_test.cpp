// Bootstrap Shannon's Variance and the Shannon t-tests: refusals, the dialog's checks, the
// order and text of the result lines, and that the workspace matrix stays as it was.
#include <gtest/gtest.h>

#include <sstream>

#include "core/number_format.h"
#include "groups/selection.h"
#include "support/command_fixture.h"

namespace vorn {
namespace {

using testing::ReadFile;

// A: four loci with one presence each (I = 2 bits, var = 3/32); B and C alike, so C vs. B has
// t = 0 and p = 1 with ν = (2v)^2 / (2 v^2 / 3) = 6.
constexpr const char* kThreeGroups =
    "a1 a2 a3 a4 b1 b2 b3 c1 c2 c3\n"
    "1 0 0 0 1 0 0 1 0 0\n"
    "0 1 0 0 0 1 0 0 1 0\n"
    "0 0 1 0 0 0 1 0 0 1\n"
    "0 0 0 1 1 1 0 1 1 0\n"
    "*\n"
    "[Groups]\n"
    "AllData/A= a1, a2, a3, a4;\n"
    "AllData/B= b1, b2, b3;\n"
    "AllData/C= c1, c2, c3;\n"
    "*\n";

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

class ShannonReplicateCommandsTest : public testing::CommandTest {
 protected:
  void SetUp() override {
    app.ws.random.Seed(11);
    Load(kThreeGroups);
  }

  // Answers "T-testing": ticks the named groups and sets the other controls given.
  void AnswerTTest(std::vector<bool> ticks, std::function<void(DialogForm&)> more = {}, bool ok = true) {
    host.dialogs.push_back([=](DialogForm& form) {
      form["groups"].marks = ticks;
      if (more) more(form);
      return ok;
    });
  }

  static void Bowman(DialogForm& form) { form["bowman"].checked = true; }
};

TEST_F(ShannonReplicateCommandsTest, PairsComeInTheOrderBvsACvsACvsB) {
  AnswerTTest({false, true, true, true}, Bowman);
  Run("tests1Click");
  EXPECT_EQ(host.Errors(), std::vector<std::string>{});
  EXPECT_EQ(host.reports.back(), "Calculating Shannon values and performing t-tests.");
  const auto lines = Lines(ReadFile("analysis.txt"));
  ASSERT_EQ(lines.size(), 23u);
  EXPECT_EQ(lines[0], "Shannon's index and variance (Bowman)");
  EXPECT_EQ(lines[2], "Shannon's index of group AllData/A= 2.000000000");
  EXPECT_EQ(lines[3], "Shannon's variance of group AllData/A= 0.093750000");
  EXPECT_EQ(lines[4], "Size of group AllData/A= 4");
  EXPECT_EQ(lines[14], "T-test based on Shannon values and variances (Bowman)");
  EXPECT_EQ(lines[16], "AllData/B vs. AllData/A:");
  EXPECT_EQ(lines[17].substr(0, 2), "t(");
  EXPECT_EQ(lines[18], "AllData/C vs. AllData/A:");
  EXPECT_EQ(lines[20], "AllData/C vs. AllData/B:");
  EXPECT_EQ(lines[21], "t(6)= 0.000000000, p= 1.000000000");
  EXPECT_EQ(lines[22], "");
}

TEST_F(ShannonReplicateCommandsTest, WithoutTdfEachPairHasItsNameLineAndAPLine) {
  AnswerTTest({false, true, true, false}, [](DialogForm& form) {
    Bowman(form);
    form["output_tdf"].checked = false;
    form["output_shannon"].checked = false;
  });
  Run("tests1Click");
  const auto lines = Lines(ReadFile("analysis.txt"));
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0], "T-test based on Shannon values and variances (Bowman)");
  EXPECT_EQ(lines[2], "AllData/B vs. AllData/A:");
  EXPECT_EQ(lines[3].substr(0, 3), "p= ");
  EXPECT_EQ(lines[3].size(), 3 + 11u);
}

TEST_F(ShannonReplicateCommandsTest, AlphaIsComparedStrictly) {
  // p = 1 for C vs. B: "not significantly different" at α = 100 %, whose p is not below α.
  AnswerTTest({false, false, true, true}, [](DialogForm& form) {
    Bowman(form);
    form["confidence"].selected = 0;
    form["alpha"].text = "100";
  });
  Run("tests1Click");
  EXPECT_EQ(Lines(ReadFile("analysis.txt")).at(13), "t(6)= 0.000000000, not significantly different (at 1.000000000 level)");
  EXPECT_EQ(app.ws.settings.ttest.alpha, 1);
}

// The report's tables are the file's values: the groups, and the tests with their verdicts.
TEST_F(ShannonReplicateCommandsTest, TheReportHoldsTheGroupsAndTestsOfTheFile) {
  AnswerTTest({false, false, true, true}, [](DialogForm& form) {
    Bowman(form);
    form["confidence"].selected = 0;
    form["alpha"].text = "100";
  });
  Run("tests1Click");
  const ReportStep& step = app.reportRecord.steps.back();
  EXPECT_EQ(step.title, "Shannon t-tests");
  EXPECT_EQ(step.method, "Shannon's information index I (Shannon 1948) of the 2 groups was compared between every two "
                         "groups by Hutcheson's (1970) t-test with Bowman et al.'s (1971) variance, a difference "
                         "counted significant at p < 1.000000000.");
  ASSERT_EQ(step.tables.size(), 2u);
  const std::vector<std::string>& b = step.tables[0].table.rows[1];
  EXPECT_EQ(b[0], "AllData/B");
  const std::string file = ReadFile("analysis.txt");
  EXPECT_NE(file.find("Shannon's index of group AllData/B= " + b[1] + "\r\nShannon's variance of group AllData/B= " +
                      b[2] + "\r\nSize of group AllData/B= " + b[3] + "\r\n"),
            std::string::npos);
  EXPECT_EQ(step.tables[1].table.rows[1],
            (std::vector<std::string>{"AllData/C vs. AllData/B", "0.000000000", "6", "1.000000000",
                                      "not significantly different (at 1.000000000 level)"}));
  EXPECT_EQ(step.tables[1].notes.front(), "T-test based on Shannon values and variances (Bowman)");
}

TEST_F(ShannonReplicateCommandsTest, TheDialogShowsAndStoresItsSettings) {
  AnswerTTest({false, true, false, true}, [](DialogForm& form) {
    EXPECT_EQ(form.Caption(), "T-testing");
    EXPECT_EQ(form["groups"].items, (std::vector<std::string>{"AllData", "AllData/A", "AllData/B", "AllData/C"}));
    EXPECT_EQ(form["alpha"].text, "5.000000000");
    EXPECT_EQ(form["confidence"].selected, 1);
    form["bootstrap"].checked = true;
    form["confidence"].selected = 0;
    form["alpha"].text = "2.5";
  });
  app.ws.settings.replicates.SH = 50;
  Run("tests1Click");
  EXPECT_TRUE(app.ws.groups.groups[1].testSelected);
  EXPECT_FALSE(app.ws.groups.groups[2].testSelected);
  EXPECT_TRUE(app.ws.settings.ttest.bootstrappedVariance);
  EXPECT_EQ(app.ws.settings.ttest.alpha, 0.025L);
  EXPECT_EQ(Lines(ReadFile("analysis.txt")).at(0), "Shannon's index and variance (bootstrapped)");
}

TEST_F(ShannonReplicateCommandsTest, RefusalsBeforeAnyWork) {
  const struct {
    std::function<void(DialogForm&)> answer;
    std::string error;
  } cases[] = {
      {[](DialogForm& f) { f["confidence"].selected = 0, f["alpha"].text = "x"; }, "You did not enter a valid number. Try again."},
      {[](DialogForm& f) { f["confidence"].selected = 0, f["alpha"].text = "100.5"; }, "Expecting a percentage (0-100). Try again."},
      {[](DialogForm& f) { f["confidence"].selected = 0, f["alpha"].text = "-1"; }, "Expecting a percentage (0-100). Try again."},
      {[](DialogForm& f) { f["groups"].marks = {true, false, false, false}; }, "You need to have at least 2 groups selected to perform a t-test"},
      {[](DialogForm& f) { f["bootstrap"].checked = true; },
       "BsShannon: Only single run selected\r\nSet more than one Shannon replicate (SH) under Options > Replicate Analysis Settings."},
  };
  app.ws.settings.replicates.SH = 1;
  for (const auto& c : cases) {
    host.messages.clear();
    AnswerTTest({true, true, false, false}, c.answer);
    Run("tests1Click");
    EXPECT_EQ(host.Errors(), std::vector<std::string>{c.error});
  }
  AnswerTTest({true, true, false, false}, {}, false);  // Cancel
  Run("tests1Click");
  EXPECT_FALSE(FileExists("analysis.txt"));
  EXPECT_EQ(app.ws.random.State(), 11u);
}

TEST_F(ShannonReplicateCommandsTest, NeedsTwoGroupsAndData) {
  app.ws.groups.groups.resize(1);
  Run("tests1Click");
  EXPECT_EQ(host.Errors(), std::vector<std::string>{"You need to have a total of at least 2 groups to t-test. "});
  app.ws.ReleaseData();
  app.ws.dataLoaded = false;
  Run("tests1Click");
  Run("XXX1Click");
  EXPECT_EQ(host.Errors().at(1), "No data loaded!");
  EXPECT_EQ(host.Errors().at(2), "No data loaded");
}

TEST_F(ShannonReplicateCommandsTest, NeitherTestLeavesTheAnalysisFileAlone) {
  dir.Write("analysis.txt", "kept\r\n");
  AnswerTTest({false, true, true, false});
  Run("tests1Click");
  EXPECT_EQ(ReadFile("analysis.txt"), "kept\r\n");
  EXPECT_TRUE(host.answers.empty());
}

TEST_F(ShannonReplicateCommandsTest, GroupsWithoutValuesGetALineAndAreSkipped) {
  app.ws.groups.groups.push_back({"AllData/Empty", {}, true});
  app.ws.groups.groups.push_back({"AllData/Fixed", {"a1"}, true});  // one individual: every locus monomorphic
  AnswerTTest({false, true, true, false, true, true}, [](DialogForm& form) {
    Bowman(form);
    form["bootstrap"].checked = true;
    form["output_shannon"].checked = false;
  });
  app.ws.settings.replicates.SH = 20;
  Run("tests1Click");
  const auto lines = Lines(ReadFile("analysis.txt"));
  const std::vector<std::string> gaps = {
      "Group AllData/Empty left out: it has no individuals.",
      "Group AllData/Fixed left out: no polymorphic locus is left after removing monomorphic loci.", ""};
  ASSERT_EQ(lines.size(), 16u);
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 3), gaps);
  EXPECT_EQ(lines[3], "T-test based on Shannon values and variances (Bowman)");
  EXPECT_EQ(lines[5], "AllData/B vs. AllData/A:");
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 8, lines.begin() + 11), gaps);
  EXPECT_EQ(lines[11], "T-test based on Shannon values and variances (bootstrapped)");
}

TEST_F(ShannonReplicateCommandsTest, GroupMatricesComeFromTheWholeDataWhileAGroupIsSelected) {
  AnswerTTest({false, true, true, true}, Bowman);
  Run("tests1Click");
  const std::string fromAllData = ReadFile("analysis.txt");
  ASSERT_TRUE(SelectGroup(app.ws, 2).ok());
  const DataMatrix working = app.ws.data;
  host.answers = {MessageAnswer::No};  // rewrite
  AnswerTTest({false, true, true, true});
  Run("tests1Click");
  EXPECT_EQ(ReadFile("analysis.txt"), fromAllData);
  EXPECT_EQ(app.ws.data, working);
}

TEST_F(ShannonReplicateCommandsTest, StaleMembersStopWithTheOrderingFilterMessage) {
  app.ws.groups.groups[2].members.push_back("gone");
  AnswerTTest({false, true, true, false}, Bowman);
  Run("tests1Click");
  ASSERT_EQ(host.Errors().size(), 1u);
  EXPECT_EQ(host.Errors()[0].substr(0, 29), "Ordering Filter/Indiv failed.");
  EXPECT_FALSE(FileExists("analysis.txt"));
}

TEST_F(ShannonReplicateCommandsTest, BootstrapRefusesOneReplicate) {
  app.ws.settings.replicates.SH = 1;
  Run("XXX1Click");
  EXPECT_EQ(host.reports, std::vector<std::string>{"Estimating Shannon Variance by Bootstrapping... "});
  EXPECT_EQ(host.Errors(), std::vector<std::string>{"Need to select multiple runs"});
}

TEST_F(ShannonReplicateCommandsTest, BootstrapShowsItsProgressAndCancelWritesNothing) {
  app.ws.settings.replicates.SH = 2000;
  host.cancelAfter = 1;
  Run("XXX1Click");
  EXPECT_EQ(host.progress.front(), "Bootstrap Shannon's Variance (SH+RMD): Replicate 1 of 2000");
  EXPECT_EQ(host.reports.back(), "Cancelled: the bootstrap stopped after 512 of 2000 replicates; nothing was written.");
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(ShannonReplicateCommandsTest, BootstrapShowsAndWritesMeanVarianceAndDeviation) {
  app.ws.settings.replicates.SH = 200;
  const DataMatrix before = app.ws.data;
  host.answers = {MessageAnswer::Yes};
  Run("XXX1Click");
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].title, "Shannon's Diversity Index Bootstrapped 200 Times");
  const auto box = Lines(host.messages[0].text + "\r\n");
  ASSERT_EQ(box.size(), 5u);
  EXPECT_EQ(box[0].substr(0, 3), "I= ");
  EXPECT_EQ(box[2].substr(0, 10), "std.dev.= ");
  EXPECT_EQ(box[4], "Write to analysis file?");
  const auto lines = Lines(ReadFile("analysis.txt"));
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[0], "Shannon's index and variance/std.dev. bootstrapped 200 times");
  EXPECT_EQ(lines[1], "LogBase = 2");
  EXPECT_EQ(lines[4], "I =       " + box[0].substr(3));
  EXPECT_EQ(lines[5], "var(I) =  " + box[1].substr(8));
  EXPECT_EQ(lines[6], box[2]);
  EXPECT_EQ(app.ws.data, before);
  EXPECT_NE(app.ws.random.State(), 11u);
}

}  // namespace
}  // namespace vorn
