// Setting scores by name: what a text reads as, which cells change, and the refusals that
// name the culprit before anything changes.
#include "editing/score_edit.h"

#include <gtest/gtest.h>

#include "support/test_matrix.h"

namespace vorn {
namespace {

using testing::MatrixFromRows;

FileLayout Symbols(char presence, char absence, char ambiguity) {
  FileLayout layout;
  layout.presence = presence;
  layout.absence = absence;
  layout.ambiguity = ambiguity;
  return layout;
}

TEST(ScoreOfText, ReadsTheLayoutsSymbolsThenTheGridsOwn) {
  const struct {
    FileLayout layout;
    const char* text;
    std::optional<Cell> score;
  } cases[] = {
      {FileLayout{}, "1", Presence},  {FileLayout{}, " 0 ", Absence},     {FileLayout{}, "?", Missing},
      {FileLayout{}, "x", std::nullopt}, {FileLayout{}, "10", std::nullopt}, {FileLayout{}, "", std::nullopt},
      {Symbols('+', '-', 'N'), "+", Presence}, {Symbols('+', '-', 'N'), "N", Missing},
      {Symbols('+', '-', 'N'), "1", Presence}, {Symbols('+', '-', 'N'), "?", Missing},
      // A symbol given to two scores reads as absence before missing before presence.
      {Symbols('1', '1', '?'), "1", Absence}, {Symbols('0', '1', '0'), "0", Missing},
  };
  for (const auto& c : cases) EXPECT_EQ(ScoreOfText(c.text, c.layout), c.score) << c.text;
}

class PlanScoresTest : public ::testing::Test {
 protected:
  DataMatrix matrix = MatrixFromRows({"10?", "011"});  // i1, i2 by l1, l2, l3
  FileLayout layout;
};

TEST_F(PlanScoresTest, ChangesOnlyTheCellsWhoseScoreDiffers) {
  const struct {
    ScoreBlock block;
    std::vector<ScoreChange> changes;
  } cases[] = {
      {{{"i1"}, {"l2"}, {"1"}}, {{2, Absence, Presence}}},
      {{{"i1"}, {"l1"}, {"1"}}, {}},
      {{{"i1", "i2"}, {"l3"}, {"0"}}, {{4, Missing, Absence}, {5, Presence, Absence}}},
      {{{"i2", "i1"}, {"l1", "l2"}, {"?", "1", "0", "0"}},
       {{1, Absence, Missing}, {0, Presence, Absence}}},
  };
  for (const auto& c : cases) {
    const auto changes = PlanScores(matrix, layout, c.block);
    ASSERT_TRUE(changes) << changes.error();
    EXPECT_EQ(*changes, c.changes);
  }
}

TEST_F(PlanScoresTest, RefusesNamingTheCulprit) {
  const struct {
    ScoreBlock block;
    const char* message;
  } cases[] = {
      {{{"i3"}, {"l1"}, {"1"}}, "No individual is named 'i3'."},
      {{{"i1"}, {"L1"}, {"1"}}, "No locus is named 'L1'."},
      {{{"i1", "i2"}, {"l1"}, {"1", "0", "1"}}, "3 scores given for 2 individuals by 1 loci."},
      {{{"i1", "i2"}, {"l1", "l2"}, {"1", "0", "1", "x"}}, "i2 l2: 'x' is not a score (1, 0 or ?)"},
  };
  for (const auto& c : cases) {
    const auto changes = PlanScores(matrix, layout, c.block);
    ASSERT_FALSE(changes);
    EXPECT_EQ(changes.error(), c.message);
  }
}

TEST_F(PlanScoresTest, AppliesUndoesAndNamesEachChange) {
  const DataMatrix loaded = matrix;
  const auto changes = PlanScores(matrix, Symbols('+', '-', 'N'), {{"i1", "i2"}, {"l3"}, {"+"}});
  ASSERT_TRUE(changes);
  ASSERT_EQ(changes->size(), 1u);
  EXPECT_EQ(ChangeLine(matrix, Symbols('+', '-', 'N'), changes->front()), "i1 l3: N \u2192 +");
  ApplyScores(matrix, *changes);
  EXPECT_EQ(matrix.At(0, 2), Presence);
  ApplyScores(matrix, *changes, true);
  EXPECT_EQ(matrix, loaded);
}

TEST_F(PlanScoresTest, SymbolBlockWritesTheLayoutsSymbols) {
  const auto block = SymbolBlock({{"i1"}, {"l1", "l2"}, {" 1", "?"}}, Symbols('+', '-', 'N'));
  ASSERT_TRUE(block);
  EXPECT_EQ(block->scores, (std::vector<std::string>{"+", "N"}));
  EXPECT_EQ(SymbolBlock({{"i1"}, {"l1", "l2"}, {"1", "2"}}, layout).error(), "i1 l2: '2' is not a score (1, 0 or ?)");
}

}  // namespace
}  // namespace vorn
