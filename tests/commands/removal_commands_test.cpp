// The ten removal commands with their dialogs, report lines and boxes.
#include <gtest/gtest.h>

#include "commands/all_commands.h"
#include "support/command_fixture.h"

namespace vorn {
namespace {

// Loci: all presences, all absences, 1 presence / 1 absence / 2 missing, 2 of 4, 1 of 4.
// Individuals a..d have band frequencies 0.8, 0.4, 0.2, 0.2; c and d 20 % missing scores.
constexpr const char* kData =
    "a b c d\n"
    "1 1 1 1\n"
    "0 0 0 0\n"
    "1 0 ? ?\n"
    "1 1 0 0\n"
    "1 0 0 0\n"
    "*\n";

class RemovalCommandsTest : public testing::CommandTest {
 protected:
  void SetUp() override { Load(kData); }
};

struct Expected {
  const char* handler;
  const char* shownPercent;  // "" when the command has no dialog
  const char* dialogText;
  const char* report;
  const char* box;
  const char* caption;
  std::uint16_t individuals;
  std::uint16_t loci;
};

const Expected kExpected[] = {
    {"WithMissingData2Click", "18", "Remove data with more than x% missing data:",
     "Removing 2 individuals with >18.000000000% missing data", "2 individuals removed.", "Data removal...", 2, 5},
    {"WithBandFrequencyBelow1Click", "30.00", "Remove individuals with band frequency below",
     "Removing 2 individuals with <30.000000000% band frequency", "2 individuals removed.", "Data removal...", 2, 5},
    {"WithBandFrequencyAbove2Click", "70.00", "Remove individuals with band frequency above",
     "Removing 1 individuals with >70.000000000% band frequency", "1 individuals removed.", "Data removal...", 3, 5},
    {"WithMissingData1Click", "25", "Remove data with more than x% missing data:",
     "Removing 1 loci with >25.000000000% missing data", "1 loci removed.", "Data removal...", 4, 4},
    {"Monomorphic01Click", "", "", "Removing 2 monomorphic loci", "2 monomorphic loci removed from data matrix.",
     "Data removal", 4, 3},
    {"MonomorphicAbsences1Click", "", "", "Removing 1 monomorphic loci composed of band absences.",
     "1 monomorphic loci (band absences) removed from data matrix.", "Data removal", 4, 4},
    {"MonomorphicPresences1Click", "", "", "Removing 1 monomorphic loci composed of band presences.",
     "1 monomorphic loci (band presences) removed from data matrix.", "Data removal", 4, 4},
    {"Withbandfrequency1Click", "5.00", "Remove loci with a band frequency less than",
     "Removing 1 loci with <5.000000000% band presences", "1 loci removed.", "Data removal...", 4, 4},
    {"WithBandFrequencyAbove1Click", "95.00", "Remove loci with a band frequency greater than",
     "Removing 1 loci with >95.000000000% band presences", "1 loci removed.", "Data removal...", 4, 4},
    {"WithmoreMissingDatathanPresences1Click", "", "", "Removing 1 loci with more missing data than presences",
     "1 loci removed.", "Data removal...", 4, 4},
};

TEST_F(RemovalCommandsTest, EachCommandRemovesReportsAndTellsWithItsDefaultThreshold) {
  for (const Expected& expected : kExpected) {
    SCOPED_TRACE(expected.handler);
    host.messages.clear();
    host.reports.clear();
    std::string shown, text;
    host.dialogs.push_back([&](DialogForm& form) {
      shown = form["percent"].text;
      text = form["text"].caption;
      return true;
    });
    Run(expected.handler);
    if (*expected.shownPercent == '\0') host.dialogs.clear();
    EXPECT_EQ(shown, expected.shownPercent);
    EXPECT_EQ(text, expected.dialogText);
    EXPECT_EQ(host.reports, std::vector<std::string>{expected.report});
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, expected.box);
    EXPECT_EQ(host.messages[0].title, expected.caption);
    EXPECT_EQ(host.messages[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(app.ws.data.individualCount, expected.individuals);
    EXPECT_EQ(app.ws.data.locusCount, expected.loci);
    EXPECT_EQ(app.ws.data.individualLabels.Count(), expected.individuals);
    EXPECT_EQ(app.ws.data.locusLabels.Count(), expected.loci);
    EXPECT_EQ(app.ws.original.individualCount, 4);
    app.ws.data = app.ws.original;
  }
}

TEST_F(RemovalCommandsTest, WithoutDataEveryCommandSaysSo) {
  host.dialogCaptions.clear();
  TMainPrg fresh(host, AllCommands());
  for (const Expected& expected : kExpected) fresh.Run(*FindByHandler(fresh.menu, expected.handler));
  EXPECT_EQ(host.Errors(), std::vector<std::string>(std::size(kExpected), "No data loaded!"));
  EXPECT_TRUE(host.dialogCaptions.empty());
}

TEST_F(RemovalCommandsTest, InvalidInputIsRefusedAndAskedAgain) {
  Answer({{"percent", "x"}});
  Answer({{"percent", "150"}});
  Answer({{"percent", ""}});
  Answer({{"percent", "50"}});
  Run("WithBandFrequencyAbove1Click");
  EXPECT_EQ(host.Errors(), std::vector<std::string>(3, "Invalid input. Please repeat."));
  EXPECT_EQ(app.ws.settings.removal.locusFrequencyAbove, 0.5);
  EXPECT_EQ(host.reports, std::vector<std::string>{"Removing 1 loci with >50.000000000% band presences"});
}

TEST_F(RemovalCommandsTest, CancelChangesNothingAndKeepsTheThreshold) {
  Answer({{"percent", "250"}});
  Answer({{"percent", "3"}}, false);
  Run("WithMissingData2Click");
  EXPECT_EQ(app.ws.settings.removal.individualMissing, 0.18);
  EXPECT_EQ(app.ws.data, app.ws.original);
  EXPECT_TRUE(host.reports.empty());
}

TEST_F(RemovalCommandsTest, ThresholdsAreKeptForTheRunAndShownAgain) {
  Answer({{"percent", "12.5"}});
  Run("WithBandFrequencyBelow1Click");
  EXPECT_EQ(app.ws.settings.removal.individualFrequencyBelow, 0.125);
  std::string shown;
  host.dialogs.push_back([&](DialogForm& form) {
    shown = form["percent"].text;
    return false;
  });
  Run("WithBandFrequencyBelow1Click");
  EXPECT_EQ(shown, "12.50");
}

TEST_F(RemovalCommandsTest, TheMissingDataDialogShowsEveryWholePercentageItStored) {
  for (int percent = 0; percent <= 99; ++percent) {
    Answer({{"percent", std::to_string(percent)}});
    Run("WithMissingData1Click");
    app.ws.data = app.ws.original;
    std::string shown;
    host.dialogs.push_back([&](DialogForm& form) {
      shown = form["percent"].text;
      return false;
    });
    Run("WithMissingData1Click");
    ASSERT_EQ(shown, std::to_string(percent));
  }
}

TEST_F(RemovalCommandsTest, ANegativeFrequencyThresholdIsAccepted) {
  Answer({{"percent", "-5"}});
  Run("Withbandfrequency1Click");
  EXPECT_EQ(app.ws.settings.removal.locusFrequencyBelow, -0.05);
  EXPECT_EQ(host.reports, std::vector<std::string>{"Removing 0 loci with <-5.000000000% band presences"});
}

TEST_F(RemovalCommandsTest, ARemovalOfEveryRowIsRefusedAndTheMatrixKept) {
  Answer({{"percent", "0"}});
  Answer({{"percent", "-1"}});
  Run("WithBandFrequencyBelow1Click");
  Run("WithBandFrequencyAbove2Click");
  EXPECT_EQ(host.Errors(), std::vector<std::string>({
                               "Every individual would be removed, leaving an empty data matrix. Nothing was removed.",
                           }));
  EXPECT_EQ(host.reports, std::vector<std::string>{"Removing 0 individuals with <0.000000000% band frequency"});
  EXPECT_EQ(app.ws.data, app.ws.original);
}

TEST_F(RemovalCommandsTest, AnEmptyWorkingMatrixIsNotFiltered) {
  app.ws.data = DataMatrix();
  Run("Monomorphic01Click");
  EXPECT_EQ(host.Errors(), std::vector<std::string>{"The current data matrix holds no individuals or no loci."});
}

}  // namespace
}  // namespace vorn
