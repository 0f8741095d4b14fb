// Renaming by the rules names are read by, and what follows the new name.
#include "editing/renaming.h"

#include <gtest/gtest.h>

#include "support/test_matrix.h"

namespace vorn {
namespace {

class RenamingTest : public ::testing::Test {
 protected:
  RenamingTest() {
    ws.InstallLoadedMatrix(testing::MatrixFromRows({"10", "01", "11"}));
    ws.groups.groups = {GroupEntry{"AllData", {"i1", "i2", "i3"}, false}, GroupEntry{"AllData/A", {"i2", "i3"}, false}};
    ws.groups.locusSets = {GroupEntry{"AllLoci", {"l1", "l2"}, false}, GroupEntry{"First", {"l1"}, false}};
    ws.coordinates.points["i2"] = CoordinatePoint{1.5, 2.5};
  }
  Workspace ws;
};

TEST_F(RenamingTest, CleansCutsAndRefusesAsNamesAreRead) {
  const struct {
    NameKind kind;
    const char* from;
    const char* text;
    const char* result;  // the name given, or the refusal
    bool ok;
  } cases[] = {
      {NameKind::Individual, "i2", "Ka02", "Ka02", true},
      {NameKind::Individual, "i2", " Ka 02;x ", "Ka_02_x", true},
      {NameKind::Individual, "i2", "abcdefghijklmnopqrstuvwxyz", "abcdefghijklmnopqrst", true},
      {NameKind::Individual, "i2", "i2", "i2", true},
      {NameKind::Locus, "l2", "Band=7", "Band_7", true},
      {NameKind::Individual, "i9", "x", "No individual is named 'i9'.", false},
      {NameKind::Locus, "i1", "x", "No locus is named 'i1'.", false},
      {NameKind::Individual, "i2", "  ", "The new name of individual 'i2' is empty.", false},
      {NameKind::Individual, "i2", "i3", "The name 'i3' is already the name of another individual.", false},
      {NameKind::Locus, "l1", "l2", "The name 'l2' is already the name of another locus.", false},
      {NameKind::Individual, "i2", " i3\t", "The name 'i3' is already the name of another individual.", false},
  };
  for (const auto& c : cases) {
    const auto name = CheckNewName(ws, c.kind, c.from, c.text);
    EXPECT_EQ(name.ok(), c.ok) << c.text;
    EXPECT_EQ(name ? *name : name.error(), c.result) << c.text;
  }
}

TEST_F(RenamingTest, TheGroupsTheCoordinatesAndTheParkedLabelsFollow) {
  ws.groups.parkedIndividuals = ParkedIndividuals{{}, 3, ws.data.individualLabels, 2, ws.data.locusLabels, {}};
  ASSERT_TRUE(Rename(ws, NameKind::Individual, "i2", "Ka02"));
  EXPECT_EQ(ws.data.individualLabels.All(), (std::vector<std::string>{"i1", "Ka02", "i3"}));
  EXPECT_EQ(ws.groups.parkedIndividuals->labels.All(), (std::vector<std::string>{"i1", "Ka02", "i3"}));
  EXPECT_EQ(ws.groups.groups[1].members, (std::vector<std::string>{"Ka02", "i3"}));
  EXPECT_EQ(ws.coordinates.points.count("Ka02"), 1u);
  EXPECT_EQ(ws.original.individualLabels[1], "i2");
  ASSERT_TRUE(Rename(ws, NameKind::Locus, "l1", "Band1"));
  EXPECT_EQ(ws.groups.locusSets[1].members, (std::vector<std::string>{"Band1"}));
  EXPECT_EQ(ws.groups.parkedIndividuals->locusLabels[0], "Band1");
}

TEST_F(RenamingTest, ANameOfTheParkedDataIsTakenToo) {
  ws.groups.parkedIndividuals = ParkedIndividuals{{}, 4, LabelTable({"i1", "i2", "i3", "i4"}), 2, ws.data.locusLabels, {}};
  EXPECT_EQ(CheckNewName(ws, NameKind::Individual, "i1", "i4").error(),
            "The name 'i4' is already the name of another individual.");
}

}  // namespace
}  // namespace vorn
