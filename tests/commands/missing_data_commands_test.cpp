// Replace Missing Data, its settings dialog, and Restore Original Matrix.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>

#include "commands/all_commands.h"
#include "matrix/replace_missing.h"
#include "support/command_fixture.h"

namespace vorn {
namespace {

constexpr const char* kData =
    "a b c d\n"
    "1 ? ? 0\n"
    "? 0 1 1\n"
    "1 1 1 1\n"
    "0 ? 0 ?\n"
    "*\n";

class MissingDataCommandsTest : public testing::CommandTest {
 protected:
  void SetUp() override { Load(kData); }

  // Answers the settings dialog with a choice and a field text.
  void AnswerSettings(int choice, const std::string& percent, bool ok = true) {
    host.dialogs.push_back([=](DialogForm& form) {
      form["replace"].selected = choice;
      form["percent"].text = percent;
      return ok;
    });
  }
};

TEST_F(MissingDataCommandsTest, ReplacementDrawsOncePerMissingCellInCellOrder) {
  app.ws.random.Seed(2024);
  RandomGenerator reference = app.ws.random;
  std::vector<Cell> expected(app.ws.data.cells.size());
  ReplaceMissing(app.ws.data.cells, expected, 0.5, reference);
  Run("ReplaceMissingData1Click");
  EXPECT_EQ(app.ws.data.cells, expected);
  EXPECT_EQ(app.ws.random.State(), reference.State());
  EXPECT_EQ(host.reports, std::vector<std::string>{"Replacing missing data (?) with 0s and 1s."});
  EXPECT_EQ(app.ws.data.individualLabels, app.ws.original.individualLabels);
}

TEST_F(MissingDataCommandsTest, SettingsChooseAbsencesPresencesOrAPercentage) {
  AnswerSettings(0, "50");
  Run("MissingDataReplacement1Click");
  EXPECT_EQ(app.ws.settings.missingDataReplacement, 0.0);
  AnswerSettings(1, "0");
  Run("MissingDataReplacement1Click");
  EXPECT_EQ(app.ws.settings.missingDataReplacement, 1.0);
  AnswerSettings(2, "30");
  Run("MissingDataReplacement1Click");
  EXPECT_EQ(app.ws.settings.missingDataReplacement, 0.3);
  EXPECT_EQ(host.reports, (std::vector<std::string>{"Missing data replacement set to 0.000000000% presences.",
                                                    "Missing data replacement set to 100.000000000% presences.",
                                                    "Missing data replacement set to 30.000000000% presences."}));
  EXPECT_EQ(host.dialogCaptions.back(), "Missing Data Replacement...");
}

TEST_F(MissingDataCommandsTest, TheDialogShowsTheCurrentShare) {
  for (double q : {0.0, 1.0, 0.5, 0.07}) {
    app.ws.settings.missingDataReplacement = q;
    int choice = -1;
    std::string percent;
    host.dialogs.push_back([&](DialogForm& form) {
      choice = form["replace"].selected;
      percent = form["percent"].text;
      return false;
    });
    Run("MissingDataReplacement1Click");
    EXPECT_EQ(choice, q == 0.0 ? 0 : q == 1.0 ? 1 : 2);
    EXPECT_EQ(percent, std::to_string(static_cast<int>(q * 100 + 0.5)));
  }
}

TEST_F(MissingDataCommandsTest, AnUnreadablePercentageIsAskedAgainAndCancelKeepsTheShare) {
  AnswerSettings(2, "");
  std::string kept;
  host.dialogs.push_back([&](DialogForm& form) {
    kept = form["percent"].text;
    return false;
  });
  Run("MissingDataReplacement1Click");
  EXPECT_EQ(host.Errors(), std::vector<std::string>{"Invalid input. Please repeat."});
  EXPECT_EQ(kept, "");
  EXPECT_EQ(app.ws.settings.missingDataReplacement, 0.5);
  EXPECT_TRUE(host.reports.empty());
}

TEST_F(MissingDataCommandsTest, ZeroPercentBehavesLikeAllAbsences) {
  AnswerSettings(2, "0");
  Run("MissingDataReplacement1Click");
  const std::uint32_t state = app.ws.random.State();
  Run("ReplaceMissingData1Click");
  EXPECT_EQ(app.ws.random.State(), state);
  for (std::size_t k = 0; k < app.ws.data.cells.size(); ++k) {
    const Cell original = app.ws.original.cells[k];
    EXPECT_EQ(app.ws.data.cells[k], original == Missing ? Cell{Absence} : original);
  }
}

// Any sequence of removals and replacements is undone by Restore, labels included.
TEST_F(MissingDataCommandsTest, RestoreUndoesAnySequenceOfEdits) {
  const unsigned seed = std::random_device{}();
  std::printf("seed %u\n", seed);
  std::mt19937 engine(seed);
  const char* edits[] = {"ReplaceMissingData1Click", "WithMissingData2Click", "WithBandFrequencyBelow1Click",
                         "WithBandFrequencyAbove2Click", "WithMissingData1Click", "Monomorphic01Click",
                         "MonomorphicAbsences1Click", "MonomorphicPresences1Click", "Withbandfrequency1Click",
                         "WithBandFrequencyAbove1Click", "WithmoreMissingDatathanPresences1Click"};
  for (int round = 0; round < 20; ++round) {
    for (int step = 0; step < 6; ++step) {
      host.dialogs.clear();
      host.dialogs.push_back([&](DialogForm& form) {
        if (Control* percent = form.Find("percent")) percent->text = std::to_string(engine() % 100);
        return true;
      });
      Run(edits[engine() % std::size(edits)]);
    }
    Run("RestoreOriginalMatrix1Click");
    ASSERT_EQ(app.ws.data, app.ws.original);
    ASSERT_EQ(host.reports.back(), "Original data matrix restored");
  }
  EXPECT_EQ(app.ws.original.individualLabels.All(), (std::vector<std::string>{"a", "b", "c", "d"}));
}

TEST_F(MissingDataCommandsTest, RestoreReturnsBothSelectionsToTheWholeDataSet) {
  app.ws.groups.activeGroup = 1;
  app.ws.groups.activeLocusSet = 2;
  app.ws.groups.parkedIndividuals = ParkedIndividuals{app.ws.data.cells, 4, app.ws.data.individualLabels};
  app.ws.groups.parkedLoci = ParkedLoci{app.ws.data.cells, 4, app.ws.data.locusLabels};
  app.ws.data = DataMatrix();
  Run("RestoreOriginalMatrix1Click");
  EXPECT_EQ(app.ws.data, app.ws.original);
  EXPECT_EQ(app.ws.groups.activeGroup, 0);
  EXPECT_EQ(app.ws.groups.activeLocusSet, 0);
  EXPECT_FALSE(app.ws.groups.parkedIndividuals.has_value());
  EXPECT_FALSE(app.ws.groups.parkedLoci.has_value());
}

TEST_F(MissingDataCommandsTest, WithoutDataReplaceAndRestoreSaySo) {
  TMainPrg fresh(host, AllCommands());
  fresh.Run(*FindByHandler(fresh.menu, "ReplaceMissingData1Click"));
  fresh.Run(*FindByHandler(fresh.menu, "RestoreOriginalMatrix1Click"));
  EXPECT_EQ(host.Errors(), std::vector<std::string>(2, "No data loaded!"));
}

}  // namespace
}  // namespace vorn
