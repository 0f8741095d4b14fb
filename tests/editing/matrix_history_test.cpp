// Undo and Redo over whole states and over hand edits, and the byte budget that drops the
// oldest steps first.
#include "editing/matrix_history.h"

#include <gtest/gtest.h>

#include "matrix/removal_filters.h"
#include "support/test_matrix.h"

namespace vorn {
namespace {

using testing::MatrixFromRows;

class MatrixHistoryTest : public ::testing::Test {
 protected:
  MatrixHistoryTest() {
    ws.InstallLoadedMatrix(MatrixFromRows({"10?1", "0?11", "1100"}));
    ws.groups.groups = {GroupEntry{"AllData", {"i1", "i2", "i3"}, false}};
  }
  // A step that makes the working data rows.
  void Change(MatrixHistory& history, const std::vector<std::string>& rows, const std::string& name) {
    MatrixState before = MatrixState::Of(ws);
    ws.data = MatrixFromRows(rows);
    history.RecordState(name, std::move(before));
  }

  Workspace ws;
};

TEST_F(MatrixHistoryTest, UndoAndRedoWalkTheStepsExactly) {
  MatrixHistory history;
  const DataMatrix loaded = ws.data;
  Change(history, {"10", "0?", "11"}, "filter");
  const DataMatrix filtered = ws.data;
  const std::vector<ScoreChange> edit{{0, Presence, Missing}, {4, Missing, Presence}};
  ApplyScores(ws.data, edit);
  history.RecordScores("edit", edit);
  const DataMatrix edited = ws.data;

  const struct {
    bool undo;
    std::optional<std::string> name;
    const DataMatrix* data;
  } walk[] = {
      {true, "edit", &filtered}, {true, "filter", &loaded}, {true, std::nullopt, &loaded},
      {false, "filter", &filtered}, {false, "edit", &edited}, {false, std::nullopt, &edited},
  };
  for (const auto& step : walk) {
    EXPECT_EQ(step.undo ? history.Undo(ws) : history.Redo(ws), step.name);
    ASSERT_EQ(ws.data.cells.size(), step.data->cells.size());
    for (std::size_t cell = 0; cell < ws.data.cells.size(); ++cell) EXPECT_EQ(ws.data.cells[cell], step.data->cells[cell]) << cell;
    EXPECT_EQ(ws.data, *step.data);
  }
}

TEST_F(MatrixHistoryTest, UndoAfterAFilterBringsBackTheMatrixTheGroupsAndTheLog) {
  MatrixHistory history;
  const MatrixState loaded = MatrixState::Of(ws);
  MatrixState before = MatrixState::Of(ws);
  ws.data = RemoveLociWithMissingData(ws.data, 0.2)->matrix;
  ws.filterLog.Add(FilterStep{});
  ws.groups.groups.push_back(GroupEntry{"AllData/A", {"i1"}, false});
  EXPECT_FALSE(loaded.SameAs(ws));
  history.RecordState("filter", std::move(before));
  ASSERT_TRUE(history.Undo(ws));
  EXPECT_TRUE(loaded.SameAs(ws));
  EXPECT_EQ(ws.data, loaded.data);
  EXPECT_EQ(ws.filterLog.steps.size(), 0u);
}

TEST_F(MatrixHistoryTest, ANewStepForgetsRedo) {
  MatrixHistory history;
  Change(history, {"1"}, "first");
  history.Undo(ws);
  EXPECT_TRUE(history.CanRedo());
  Change(history, {"0"}, "second");
  EXPECT_FALSE(history.CanRedo());
  EXPECT_EQ(history.Undo(ws), "second");
  EXPECT_FALSE(history.CanUndo());
}

TEST_F(MatrixHistoryTest, TheBudgetDropsTheOldestStepsFirst) {
  // Each state of 1000 x 1000 scores weighs a little more than its million cells.
  const std::size_t state = MatrixState{MatrixFromRows(std::vector<std::string>(1000, std::string(1000, '1'))), {}, {}, {}}.Bytes();
  const struct {
    std::size_t budget;
    std::size_t kept;
  } cases[] = {{0, 0}, {state - 1, 0}, {3 * state + 1000, 3}, {10 * state, 5}};
  for (const auto& c : cases) {
    MatrixHistory history(c.budget);
    for (int step = 0; step < 5; ++step) {
      MatrixState before = MatrixState::Of(ws);
      before.data = MatrixFromRows(std::vector<std::string>(1000, std::string(1000, '1')));
      history.RecordState("step " + std::to_string(step), std::move(before));
      EXPECT_LE(history.Bytes(), c.budget);
    }
    EXPECT_EQ(history.UndoSteps(), c.kept) << c.budget;
    if (c.kept > 0) {
      EXPECT_EQ(history.Undo(ws), "step 4");
    }
  }
}

TEST(MatrixHistory, TheDefaultBudgetHoldsTwentyFiveStatesOfTwoThousandByFiveThousand) {
  const std::size_t cells = std::size_t{2000} * 5000;
  EXPECT_GE(kUndoBudget / cells, 25u);
  EXPECT_LT(kUndoBudget / cells, 27u);
}

}  // namespace
}  // namespace vorn
