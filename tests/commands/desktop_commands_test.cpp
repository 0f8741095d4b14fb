// What the desktop habits ask of the commands: File > New Matrix from Clipboard through the CSV /
// TSV import's dialog, imports among the recent files with their dialog's values, the short
// names of the undo steps, and the path fields marked in the dialogs.
#include <gtest/gtest.h>

#include <set>

#include "support/command_fixture.h"

namespace vorn {
namespace {

using testing::CommandTest;

class DesktopCommands : public CommandTest {};

TEST_F(DesktopCommands, ATableOnTheClipboardBecomesTheMatrix) {
  host.clipboard = "\tL1\tL2\nA\t1\t0\nB\t?\t1\nC\t0\t0\n";
  Run("NewMatrixFromClipboard1Click");
  ASSERT_TRUE(app.ws.dataLoaded);
  EXPECT_EQ(host.dialogCaptions, std::vector<std::string>{"Import CSV / TSV Table"});
  EXPECT_EQ(app.ws.data.individualCount, 3);
  EXPECT_EQ(app.ws.data.At(1, 0), Missing);
  EXPECT_EQ(host.reports.back(), "New matrix from the clipboard (3 individuals, 2 loci)");
  EXPECT_EQ(app.ws.filterLog.source, "");
  EXPECT_TRUE(app.recentFiles.Files().empty());
}

TEST_F(DesktopCommands, AClipboardWithoutATableLoadsNothingAndSaysWhy) {
  Load(testing::kFiveIndividuals);
  for (const std::optional<std::string>& clipboard : {std::optional<std::string>(), std::optional<std::string>(" \n")}) {
    host.clipboard = clipboard;
    Run("NewMatrixFromClipboard1Click");
    EXPECT_EQ(host.messages.back().text.rfind("The clipboard holds no text.", 0), 0u);
  }
  host.clipboard = "\tL1\nA\t1\nB\t2\n";
  host.showsCompletionLines = true;  // the refusal's line as the window shows it
  Run("NewMatrixFromClipboard1Click");
  EXPECT_EQ(host.messages.back().text, "Row 3, column 2: '2' is neither present, absent nor missing");
  ASSERT_FALSE(host.reports.empty());
  EXPECT_EQ(host.reports.back(), "Not loaded: the clipboard: Row 3, column 2: '2' is neither present, absent nor missing");
  EXPECT_EQ(app.ws.data.individualCount, 5);
}

TEST_F(DesktopCommands, AnImportJoinsTheRecentFilesWithItsDialogsValues) {
  dir.Write("table.tsv", "name\tpop\tL1\tL2\nA\tp\t1\t0\nB\tq\t0\t1\n");
  host.files.push_back("table.tsv");
  Answer({{"group_columns", "2"}});
  Run("ImportCsvTable1Click");
  ASSERT_EQ(app.recentFiles.Files().size(), 1u);
  const RecentFile recent = app.recentFiles.Files()[0];
  EXPECT_EQ(recent.path, dir.File("table.tsv"));
  EXPECT_EQ(recent.handler, "ImportCsvTable1Click");
  EXPECT_EQ(recent.settings,
            "separator=detect, individuals=rows, locus_names=true, name_column=1, group_columns=2, skip_columns=\"\", "
            "coordinate_columns=\"\", coordinates=xy, presence=1, absence=0, missing=NA ? -1 -9, empty_missing=true");
  EXPECT_EQ(RecentWayText(app, recent), "Import CSV / TSV Table");

  // Another run with other values; the recent entry puts its own back.
  app.dialogs.importTable.form["group_columns"].text = "";
  ASSERT_TRUE(RestoreRecentSettings(app, recent));
  EXPECT_EQ(app.dialogs.importTable.form["group_columns"].text, "2");
  RecentFile damaged = recent;
  damaged.settings = "separator=pipe";
  EXPECT_EQ(RestoreRecentSettings(app, damaged).error(), "The settings kept for the recent file " + recent.path +
                                                             " cannot be read: \"pipe\" is not an item of separator.");
  damaged.handler = "ImportSomething1Click";
  EXPECT_FALSE(RestoreRecentSettings(app, damaged));
}

TEST_F(DesktopCommands, UndoStepsHaveShortNames) {
  Load(testing::kFiveIndividuals);
  EXPECT_FALSE(app.history.UndoTitle());
  app.dialogs.setScores.Fill(ScoreBlock{{"A"}, {"Locus1"}, {"0"}});
  Run("SetScores1Click");
  EXPECT_EQ(app.history.UndoTitle(), "Set Scores");
  Run("RestoreOriginalMatrix1Click");
  EXPECT_EQ(app.history.UndoTitle(), "Restore Original Matrix");
  Run("Undo1Click");
  EXPECT_EQ(app.history.RedoTitle(), "Restore Original Matrix");
  EXPECT_EQ(app.history.UndoTitle(), "Set Scores");
}

// Every field that names a file is marked, to be read or to be written, and no other field is.
TEST_F(DesktopCommands, TheFieldsThatNameFilesAreMarked) {
  std::set<std::string> marked;
  for (ModalDialog* dialog : app.dialogs.All()) {
    for (const Control& control : dialog->form.Controls()) {
      if (control.path == PathKind::None) continue;
      EXPECT_EQ(control.kind, ControlKind::TextField);
      marked.insert(dialog->form.Caption() + ": " + control.key + (control.path == PathKind::Open ? " <" : " >"));
    }
  }
  const std::set<std::string> expected = {
      "Band Rarity and Richness: table_file >", "Comparable Loci: file >", "F_ST from Band Frequencies: table_file >",
      "Missing Data Check: table_file >", "Mantel Test: coordinates_file <", "Mantel Test: pairs_file >",
      "NeighborNet: splits_file >", "Pairwise PhiPT: table_file >", "Population Diversity: table_file >",
      "Assignment Test: table_file >", "Replicate Error Rates: table_file >", "Save Tree Picture: tree_file <",
      "Spatial Autocorrelation: coordinates_file <", "Spatial Autocorrelation: table_file >",
      "Support on Tree: output >", "Support on Tree: reference <", "Support on Tree: replicates <"};
  EXPECT_EQ(marked, expected);
}

}  // namespace
}  // namespace vorn
