// The Edit menu's commands: scores set by name and reported one by one, Undo and Redo over
// edits and matrix commands, renames, the grid's copy and paste, and the unsaved mark.
#include <gtest/gtest.h>

#include "commands/data/grid_clipboard.h"
#include "support/command_fixture.h"

namespace vorn {
namespace {

// Ka01..Ka04 by Locus1..Locus5 (individuals in columns in the file).
constexpr const char* kData =
    "Ka01 Ka02 Ka03 Ka04\n"
    "1 0 1 ?\n"
    "0 0 1 1\n"
    "1 1 ? 0\n"
    "0 1 0 1\n"
    "1 ? ? ?\n"
    "*\n";

class EditCommandsTest : public testing::CommandTest {
 protected:
  void SetUp() override { Load(kData); }
  void SetScores(const std::string& individuals, const std::string& loci, const std::string& scores) {
    Answer({{"individuals", individuals}, {"loci", loci}, {"scores", scores}});
    Run("SetScores1Click");
  }
};

TEST_F(EditCommandsTest, EachChangedScoreIsReportedOnItsOwnLine) {
  const struct {
    const char* individuals;
    const char* loci;
    const char* scores;
    std::vector<std::string> reports;
  } cases[] = {
      {"Ka03", "Locus7", "1", {}},
      {"Ka03", "Locus2", "0", {"Ka03 Locus2: 1 \u2192 0"}},
      {"Ka01|Ka02", "Locus4|Locus5", "11|?0", {"Ka01 Locus4: 0 \u2192 1", "Ka02 Locus4: 1 \u2192 ?", "Ka02 Locus5: ? \u2192 0"}},
      {"Ka04", "Locus1|Locus2", "?", {"Ka04 Locus2: 1 \u2192 ?"}},
      {"Ka04", "Locus1", "?", {"Set Scores: no score changed"}},
      {"Ka01|Ka02", "Locus1", "1|x", {}},
  };
  for (const auto& c : cases) {
    host.reports.clear();
    SetScores(c.individuals, c.loci, c.scores);
    EXPECT_EQ(host.reports, c.reports) << c.scores;
  }
  EXPECT_EQ(host.Errors(), (std::vector<std::string>{"No locus is named 'Locus7'.", "Ka02 Locus1: 'x' is not a score (1, 0 or ?)"}));
  EXPECT_TRUE(app.unsavedChanges);
}

TEST_F(EditCommandsTest, UndoAfterAFilterRestoresTheMatrixCellByCell) {
  SetScores("Ka01", "Locus1", "0");
  const DataMatrix edited = app.ws.data;
  Answer({{"percent", "20"}});
  Run("WithMissingData1Click");
  ASSERT_EQ(app.ws.data.locusCount, 2);
  host.reports.clear();
  Run("Undo1Click");
  ASSERT_EQ(app.ws.data.cells.size(), edited.cells.size());
  for (std::size_t cell = 0; cell < edited.cells.size(); ++cell) EXPECT_EQ(app.ws.data.cells[cell], edited.cells[cell]) << cell;
  EXPECT_EQ(app.ws.data, edited);
  EXPECT_TRUE(app.ws.filterLog.steps.empty());
  Run("Undo1Click");
  EXPECT_EQ(app.ws.data, app.ws.original);
  Run("Undo1Click");
  Run("Redo1Click");
  Run("Redo1Click");
  EXPECT_EQ(app.ws.data.locusCount, 2);
  EXPECT_EQ(host.reports, (std::vector<std::string>{"Undo: DataMatrix > Remove Loci > With Missing Data",
                                                    "Undo: Ka01 Locus1: 1 \u2192 0", "Redo: Ka01 Locus1: 1 \u2192 0",
                                                    "Redo: DataMatrix > Remove Loci > With Missing Data"}));
  EXPECT_EQ(host.Errors(), std::vector<std::string>{"Nothing to undo."});
}

TEST_F(EditCommandsTest, SelectionsAndRestoreAreStepsLoadsForgetTheHistory) {
  app.ws.groups.groups.push_back(GroupEntry{"AllData/A", {"Ka01", "Ka02"}, false});
  app.RebuildGroupMenu({"AllData", "AllData/A"});
  SelectGroupEntry(1);
  ASSERT_EQ(app.ws.data.individualCount, 2);
  Run("Undo1Click");
  EXPECT_EQ(app.ws.data, app.ws.original);
  EXPECT_EQ(app.ws.groups.activeGroup, 0);
  EXPECT_FALSE(app.ws.groups.parkedIndividuals);
  Run("Redo1Click");
  EXPECT_EQ(app.ws.groups.activeGroup, 1);
  Run("RestoreOriginalMatrix1Click");
  Run("Undo1Click");
  EXPECT_EQ(app.ws.data.individualCount, 2);
  EXPECT_TRUE(app.history.CanUndo());
  LoadFile("data.txt");
  EXPECT_FALSE(app.history.CanUndo());
  EXPECT_FALSE(app.unsavedChanges);
}

TEST_F(EditCommandsTest, RenameFollowsTheLoadersRulesAndIsUndone) {
  app.ws.groups.groups.push_back(GroupEntry{"AllData/A", {"Ka01", "Ka04"}, false});
  host.dialogs.push_back([](DialogForm& form) {
    form["kind"].selected = 0;
    form["name"].text = "Ka04";
    form["new_name"].text = "Ka04 b";
    return true;
  });
  Run("Rename1Click");
  host.dialogs.push_back([](DialogForm& form) {
    form["kind"].selected = 1;
    form["name"].text = "Locus5";
    form["new_name"].text = "Locus1";
    return true;
  });
  Run("Rename1Click");
  EXPECT_EQ(host.reports, std::vector<std::string>{"Renaming individual Ka04 to Ka04_b"});
  EXPECT_EQ(host.Errors(), std::vector<std::string>{"The name 'Locus1' is already the name of another locus."});
  EXPECT_EQ(app.ws.groups.groups[1].members, (std::vector<std::string>{"Ka01", "Ka04_b"}));
  Run("Undo1Click");
  EXPECT_EQ(app.ws.data.individualLabels[3], "Ka04");
  EXPECT_EQ(app.ws.groups.groups[1].members, (std::vector<std::string>{"Ka01", "Ka04"}));
}

TEST_F(EditCommandsTest, SavingClearsTheUnsavedMark) {
  SetScores("Ka01", "Locus1", "0");
  EXPECT_TRUE(app.unsavedChanges);
  host.files.push_back("saved.txt");
  Run("Save1Click");
  EXPECT_FALSE(app.unsavedChanges);
  Run("Undo1Click");
  EXPECT_TRUE(app.unsavedChanges);
}

class GridClipboardTest : public EditCommandsTest {
 protected:
  DataTable table{app.ws};
  void SetUp() override {
    EditCommandsTest::SetUp();
    table.Refresh();
  }
};

TEST_F(GridClipboardTest, CopiesTabSeparatedWithNamesAsTheGridShowsThem) {
  EXPECT_EQ(CopiedText(table, app.ws.settings.layout, GridRange{1, 2, 2, 3}),
            "\tLocus3\tLocus4\tLocus5\nKa02\t1\t1\t?\nKa03\t?\t0\t?\n");
  table.SetOrientation(DataOrientation::IndividualsInColumns);
  EXPECT_EQ(CopiedText(table, app.ws.settings.layout, GridRange{0, 0, 1, 2}), "\tKa01\tKa02\nLocus1\t1\t0\n");
}

TEST_F(GridClipboardTest, PastesABlockWithOrWithoutNames) {
  const struct {
    const char* text;
    GridRange selection;
    std::vector<std::string> individuals, loci, scores;
  } cases[] = {
      {"1\t0\r\n?\t1\r\n", {2, 3, 1, 1}, {"Ka03", "Ka04"}, {"Locus4", "Locus5"}, {"1", "0", "?", "1"}},
      {"\tLocus3\tLocus4\nKa02\t1\t1\n", {0, 0, 4, 5}, {"Ka01"}, {"Locus1", "Locus2"}, {"1", "1"}},
      {" 0 ", {3, 4, 1, 1}, {"Ka04"}, {"Locus5"}, {"0"}},
      {"?\n", {1, 1, 2, 2}, {"Ka02", "Ka03"}, {"Locus2", "Locus3"}, {"?"}},
  };
  for (const auto& c : cases) {
    const auto block = PastedBlock(table, app.ws.settings.layout, c.text, c.selection);
    ASSERT_TRUE(block) << block.error();
    EXPECT_EQ(block->individuals, c.individuals);
    EXPECT_EQ(block->loci, c.loci);
    EXPECT_EQ(block->scores, c.scores);
  }
  table.SetOrientation(DataOrientation::IndividualsInColumns);
  const auto turned = PastedBlock(table, app.ws.settings.layout, "1\t0\n?\t1\n", GridRange{});
  ASSERT_TRUE(turned);
  EXPECT_EQ(turned->individuals, (std::vector<std::string>{"Ka01", "Ka02"}));
  EXPECT_EQ(turned->scores, (std::vector<std::string>{"1", "?", "0", "1"}));
}

TEST_F(GridClipboardTest, APasteWithOneBadCellChangesNothingAndNamesTheCell) {
  const struct {
    const char* text;
    GridRange selection;
    const char* message;
  } cases[] = {
      {"1\t0\n0\tx\n", {0, 0, 1, 1}, "Ka02 Locus2: 'x' is not a score (1, 0 or ?)"},
      {"1\t0\t1\n", {3, 3, 1, 1}, "The pasted block of 1 rows and 3 columns does not fit in the grid from Ka04 Locus4 on."},
      {"1\t0\n1\n", {0, 0, 1, 1}, "Line 2 of the pasted block has 1 cells where the first has 2."},
      {"", {0, 0, 1, 1}, "The clipboard holds no scores to paste."},
      {"+", {0, 0, 2, 1}, "Ka01 Locus1: '+' is not a score (1, 0 or ?)"},
  };
  for (const auto& c : cases) {
    const auto block = PastedBlock(table, app.ws.settings.layout, c.text, c.selection);
    ASSERT_FALSE(block);
    EXPECT_EQ(block.error(), c.message);
  }
  // The same block through Set Scores: refused whole.
  SetScores("Ka01|Ka02", "Locus1|Locus2", "10|0x");
  EXPECT_EQ(app.ws.data, app.ws.original);
  EXPECT_EQ(host.Errors().back(), "Ka02 Locus2: 'x' is not a score (1, 0 or ?)");
}

}  // namespace
}  // namespace vorn
