#include "pictures/pcoa_layout.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "pictures/group_colours.h"
#include "pictures/label_placement.h"
#include "pictures/plot_scale.h"

namespace vorn {
namespace {

GroupList ThreePopulations() {
  return {{"AllData", {"Ka01", "Ka02", "Ri01", "Mo01", "Odd"}, false},
          {"AllData/Karst", {"Ka01", "Ka02"}, false},
          {"AllData/Karst/Uphill", {"Ka01"}, false},
          {"AllData/River", {"Ri01"}, false},
          {"AllData/Moor", {"Mo01", "Ka02"}, false}};
}

TEST(GroupColours, FollowTheGroupsOfTheChosenLevel) {
  const GroupColouring level1(ThreePopulations(), 1);
  EXPECT_EQ(level1.Names(), (std::vector<std::string>{"Karst", "River", "Moor"}));
  struct Case {
    const char* label;
    int group;
  };
  // Ka02 is listed by Karst first, so Karst it is; Odd is in no population.
  for (const Case& c : {Case{"Ka01", 0}, Case{"Ka02", 0}, Case{"Ri01", 1}, Case{"Mo01", 2}, Case{"Odd", -1}}) {
    EXPECT_EQ(level1.GroupOf(c.label), c.group) << c.label;
  }
  const GroupColouring level2(ThreePopulations(), 2);
  EXPECT_EQ(level2.Names(), (std::vector<std::string>{"Karst/Uphill"}));
  EXPECT_EQ(level2.GroupOf("Ka01"), 0);
  EXPECT_EQ(level2.GroupOf("Ka02"), -1);
  EXPECT_TRUE(GroupColouring(ThreePopulations(), 0).Names().empty());
}

TEST(GroupColours, TreeNamesWithBlanksFindTheirGroup) {
  const GroupColouring colouring({{"AllData", {}, false}, {"AllData/A", {"ind one"}, false}}, 1);
  EXPECT_EQ(colouring.GroupOf("ind_one"), 0);
}

TEST(GroupColours, NeighbouringGroupsDifferInColourAndShape) {
  for (int g = 0; g < 8; ++g) {
    EXPECT_FALSE(GroupColour(g) == GroupColour(g + 1)) << g;
    EXPECT_NE(GroupShape(g), GroupShape(g + 1)) << g;
  }
  EXPECT_EQ(HexColour(GroupColour(0)), "#0072b2");
  EXPECT_EQ(HexColour(GroupColour(-1)), "#303030");
}

Ordination ThreePoints() {
  Ordination result;
  result.eigenvalues = {3, 1};
  result.percentages = {75, 25};
  result.coordinates = {1, 0.5, 0, -0.25, -1, 0};
  result.labels = LabelTable({"Ka01", "Ri01", "Mo01"});
  result.matrixName = "StdJaccard";
  return result;
}

TEST(PcoaLayout, PointsCarryTheirCoordinatesLabelsAndGroups) {
  const auto layout = LayOutPcoa(ThreePoints(), 2, 1, GroupColouring(ThreePopulations(), 1));
  ASSERT_TRUE(layout) << layout.error();
  EXPECT_EQ(layout->xTitle, "PCo2 (25.0 %)");
  EXPECT_EQ(layout->yTitle, "PCo1 (75.0 %)");
  ASSERT_EQ(layout->points.size(), 3u);
  EXPECT_EQ(layout->points[1].x, -0.25);
  EXPECT_EQ(layout->points[1].y, 0);
  EXPECT_EQ(layout->points[1].label, "Ri01");
  EXPECT_EQ(layout->points[2].group, 2);
}

TEST(PcoaLayout, RefusesAxesTheResultDoesNotHave) {
  const auto layout = LayOutPcoa(ThreePoints(), 1, 3, {});
  ASSERT_FALSE(layout);
  EXPECT_EQ(layout.error(), "The principal coordinate analysis has 2 axes with a positive eigenvalue; axis 3 is not one of them.");
  EXPECT_FALSE(LayOutPcoa(ThreePoints(), 0, 1, {}));
}

TEST(PcoaLayout, BothAxesShareOneScale) {
  const std::vector<PlotPoint> points = {{-1, -0.1, "a", -1}, {3, 0.2, "b", -1}};
  const PlotFrame frame = FrameEqualScale(points, 800, 400);
  EXPECT_NEAR((frame.xHigh - frame.xLow) / 800, (frame.yHigh - frame.yLow) / 400, 1e-12);
  EXPECT_LE(frame.xLow, -1);
  EXPECT_GE(frame.xHigh, 3);
  EXPECT_NEAR((frame.yLow + frame.yHigh) / 2, 0.05, 1e-12);  // the short side widened about its centre
  EXPECT_GT(frame.step, 0);
}

TEST(PlotScale, StepsAreRoundNumbers) {
  struct Case {
    double limit, step;
  };
  for (const Case& c : {Case{0.0375, 0.02}, Case{1, 1}, Case{7.5, 5}, Case{350, 200}, Case{0, 0}}) {
    EXPECT_DOUBLE_EQ(RoundStepBelow(c.limit), c.step) << c.limit;
  }
  EXPECT_EQ(StepText(-0.1, 0.05), "-0.10");
  EXPECT_EQ(StepText(20, 10), "20");
  EXPECT_EQ(StepText(-1e-17, 0.5), "0.0");  // no "-0.0"
}

TEST(LabelPlacement, LabelsOfNearbyPointsCoverNeitherEachOtherNorThePoints) {
  // Two points almost on top of each other and a third to their right.
  const std::vector<LabelPoint> points = {{100, 100, 30, 12}, {101, 101, 30, 12}, {140, 100, 30, 12}};
  const auto boxes = PlaceLabels(points, 7, {0, 0, 400, 300});
  ASSERT_EQ(boxes.size(), 3u);
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    ASSERT_TRUE(boxes[i]) << i;
    for (std::size_t j = 0; j < boxes.size(); ++j) {
      if (i != j) {
        EXPECT_FALSE(boxes[i]->Overlaps(*boxes[j])) << i << " " << j;
      }
      EXPECT_FALSE(boxes[i]->Overlaps({points[j].x - 3.5, points[j].y - 3.5, 7, 7})) << "label " << i << " point " << j;
    }
  }
  EXPECT_EQ(boxes[0]->left, 100 - 7 - 30);  // the right would cover the third point
}

TEST(LabelPlacement, ALabelWithoutAFreePlaceIsLeftOut) {
  // A crowd of points at one place: the first label finds room, the others none.
  const std::vector<LabelPoint> crowd(6, LabelPoint{200, 150, 30, 12});
  const auto boxes = PlaceLabels(crowd, 7, {0, 0, 400, 300});
  const auto shown = std::count_if(boxes.begin(), boxes.end(), [](const auto& box) { return box.has_value(); });
  EXPECT_EQ(shown, 4);  // right, left, above and below of the one place
}

TEST(LabelPlacement, LabelsStayInsideThePlot) {
  const auto boxes = PlaceLabels({{395, 150, 30, 12}}, 7, {0, 0, 400, 300});
  EXPECT_EQ(boxes[0]->left, 395 - 7 - 30);  // no room on the right: the left
}

}  // namespace
}  // namespace vorn
