// Shannon's Index and the Shannon Scaling settings.
#include <gtest/gtest.h>

#include <cmath>

#include "core/number_format.h"
#include "support/command_fixture.h"

namespace vorn {
namespace {

using testing::ReadFile;

// Four polymorphic loci with one presence each among four individuals: p = 1/4 everywhere, so
// I = 2 bits; var = (S2 - I^2) / N + (L - 1) / (2 N^2) = (4 - 4) / 4 + 3 / 32.
constexpr const char* kEven =
    "a b c d\n"
    "1 0 0 0\n"
    "0 1 0 0\n"
    "0 0 1 0\n"
    "0 0 0 1\n"
    "*\n";

class ShannonCommandsTest : public testing::CommandTest {
 protected:
  void SetUp() override { Load(kEven); }

  void AnswerScaling(int frequencies, int base, const std::string& a, bool ok = true) {
    host.dialogs.push_back([=](DialogForm& form) {
      form["frequencies"].selected = frequencies;
      form["log_base"].selected = base;
      form["a"].text = a;
      return ok;
    });
  }
};

TEST_F(ShannonCommandsTest, ShowsTheIndexAndWritesItOnYes) {
  host.answers = {MessageAnswer::Yes};
  Run("N1Click");
  EXPECT_EQ(host.reports, std::vector<std::string>{
                              "Calculating Shannon's index with current scaling settings and saving to analysis output file"});
  // The report's table holds the analysis file's numbers.
  ASSERT_EQ(app.reportRecord.steps.size(), 1u);
  EXPECT_EQ(app.reportRecord.steps[0].tables[0].table.rows,
            (std::vector<std::vector<std::string>>{
                {"Statistic", "Value"}, {"I", "2.000000000"}, {"var(I)", "0.093750000"}, {"std.dev.", "0.306186218"}}));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].title, "Shannon's Diversity Index");
  EXPECT_EQ(host.messages[0].text,
            "I= 2.000000000\r\nvar(I)= 0.093750000 (after Bowman & al., 1969)*\r\nStandard deviation= 0.306186218"
            "\r\n\r\nNote: *Variance is only meaningful if frequencies are calculated relative to entire data matrix!"
            "\r\n\r\nWrite to analysis file?");
  EXPECT_EQ(ReadFile("analysis.txt"),
            "Shannon's index and variance/std.dev. (after Bowman & al., 1969)\r\nLogBase = 2\r\n"
            "Frequencies per datamatrix: p(i):=presences(i)/presences(datamatrix)\r\n\r\n"
            "I =       2.000000000\r\nvar(I) =  0.093750000\r\nstd.dev.= 0.306186218\r\n\r\n");
}

TEST_F(ShannonCommandsTest, NoWritesNothing) {
  host.answers = {MessageAnswer::No};
  Run("N1Click");
  EXPECT_FALSE(FileExists("analysis.txt"));
}

TEST_F(ShannonCommandsTest, BaseEScalesTheIndexByItsFactorAndTheVarianceByItsSquare) {
  AnswerScaling(0, 1, "");
  Run("ShannonScaling1Click");
  EXPECT_EQ(host.reports.back(), "Shannon Scaling Settings: Frequencies per Locus: false. Log to Base 2.718281828");
  host.answers = {MessageAnswer::Yes};
  Run("N1Click");
  const Real ln2 = std::log(2.0L);
  EXPECT_EQ(ReadFile("analysis.txt"),
            "Shannon's index and variance/std.dev. (after Bowman & al., 1969)\r\nLogBase = e\r\n"
            "Frequencies per datamatrix: p(i):=presences(i)/presences(datamatrix)\r\n\r\n"
            "I =       " + FormatReal(2 * ln2) + "\r\nvar(I) =  " + FormatReal(0.09375L * ln2 * ln2) +
                "\r\nstd.dev.= " + FormatReal(std::sqrt(0.09375L * ln2 * ln2)) + "\r\n\r\n");
  EXPECT_EQ(FormatReal(2 * ln2), "1.386294361");
}

TEST_F(ShannonCommandsTest, PerIndividualFrequenciesLeaveOutTheStandardDeviationLine) {
  AnswerScaling(1, 3, "4");
  Run("ShannonScaling1Click");
  EXPECT_EQ(host.reports.back(), "Shannon Scaling Settings: Frequencies per Locus: true. Log to Base 4.000000000");
  host.answers = {MessageAnswer::Yes};
  Run("N1Click");
  const std::string file = ReadFile("analysis.txt");
  EXPECT_NE(file.find("LogBase = 4.000000000\r\nFrequencies per locus: p(i):=presences(i)/#individuals\r\n"), std::string::npos);
  EXPECT_EQ(file.find("std.dev.= "), std::string::npos);
}

TEST_F(ShannonCommandsTest, MonomorphicLociAreRemovedOnYesWithoutAReport) {
  Load("a b c d\n1 0 0 0\n0 1 0 0\n1 1 1 1\n0 0 0 0\n*\n");
  host.answers = {MessageAnswer::Yes, MessageAnswer::No};
  Run("N1Click");
  EXPECT_EQ(host.messages[0].title, "Data Warning");
  EXPECT_EQ(host.messages[0].text,
            "The data-set contains monomorphic bands.\r\n"
            "Failure to remove monomorphic bands may result in meaningless Shannon values.\r\n"
            "Would you like to remove monomorphic bands from the data-set now?");
  EXPECT_EQ(app.ws.data.locusCount, 2);
  EXPECT_EQ(app.ws.original.locusCount, 4);
  EXPECT_EQ(host.reports.size(), 1u);
  EXPECT_EQ(host.messages[1].text.substr(0, 16), "I= 1.000000000\r\n");
}

TEST_F(ShannonCommandsTest, DecliningTheRemovalComputesOnTheWholeMatrix) {
  Load("a b\n1 0\n1 1\n*\n");
  host.answers = {MessageAnswer::No, MessageAnswer::No};
  Run("N1Click");
  EXPECT_EQ(app.ws.data.locusCount, 2);
  // p = 1/3 and 2/3.
  EXPECT_EQ(host.messages[1].text.substr(0, 16), "I= 0.918295834\r\n");
}

TEST_F(ShannonCommandsTest, WhenEveryLocusIsMonomorphicTheRemovalIsRefused) {
  Load("a b\n1 1\n0 0\n*\n");
  host.answers = {MessageAnswer::Yes};
  Run("N1Click");
  EXPECT_EQ(host.Errors(), std::vector<std::string>{"Every locus would be removed, leaving an empty data matrix. Nothing was removed."});
  EXPECT_EQ(app.ws.data.locusCount, 2);
  EXPECT_TRUE(host.reports.empty());
}

TEST_F(ShannonCommandsTest, BaseOneIsRefusedWhenTheIndexIsComputed) {
  AnswerScaling(0, 3, "1");
  Run("ShannonScaling1Click");
  Run("N1Click");
  EXPECT_EQ(host.Errors(), std::vector<std::string>{
                               "Logarithms to base A = 1.000000000 do not exist. Please choose another base under Options > Shannon Scaling."});
  EXPECT_EQ(host.reports.size(), 1u);
}

TEST_F(ShannonCommandsTest, CancelStillAppliesTheScaling) {
  AnswerScaling(1, 2, "", false);
  Run("ShannonScaling1Click");
  EXPECT_EQ(app.ws.settings.shannon.frequencyBasis, FrequencyBasis::PerIndividual);
  EXPECT_EQ(app.ws.settings.shannon.logBase, LogBase::Ten);
  EXPECT_EQ(app.ws.settings.shannon.baseValue, 10.0L);
  EXPECT_EQ(host.reports.back(), "Shannon Scaling Settings: Frequencies per Locus: true. Log to Base 10.000000000");
}

TEST_F(ShannonCommandsTest, AnInvalidOrNonPositiveBaseKeepsAButAppliesTheChoices) {
  AnswerScaling(1, 3, "abc");
  Run("ShannonScaling1Click");
  AnswerScaling(0, 3, "-2");
  Run("ShannonScaling1Click");
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(host.messages[0].text, "You entered an invalid number.");
  EXPECT_EQ(host.messages[1].text, "A must be greater than zero.");
  EXPECT_EQ(host.messages[1].title, "Error");
  EXPECT_EQ(app.ws.settings.shannon.baseValue, 2.0L);
  EXPECT_EQ(app.ws.settings.shannon.logBase, LogBase::Other);
  EXPECT_TRUE(host.reports.empty());
}

}  // namespace
}  // namespace vorn
