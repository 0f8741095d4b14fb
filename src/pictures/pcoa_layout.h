// A scatter plot of two axes of the last principal coordinate analysis: the points with their
// labels and groups, the axis titles with each axis's share of the variance, and the frame that
// shows both axes on the same scale, so that distances on the page are distances of the analysis.
#pragma once

#include <string>
#include <vector>

#include "core/ordination.h"
#include "core/result.h"
#include "pictures/group_colours.h"

namespace vorn {

struct PlotPoint {
  double x = 0;
  double y = 0;
  std::string label;
  int group = -1;  // index into the colouring's names, -1 for none
};

struct PcoaLayout {
  std::vector<PlotPoint> points;
  std::string xTitle;  // "PCo1 (23.4 %)"
  std::string yTitle;
  std::string matrixName;
};

// Axes are numbered from 1; both must be axes of the result.
Result<PcoaLayout> LayOutPcoa(const Ordination& result, std::size_t xAxis, std::size_t yAxis,
                              const GroupColouring& colouring);

// The data ranges a plot area of width × height shows, with one unit as long on both axes: the
// points' ranges with a margin, the shorter side widened about its centre. Ticks lie at the
// multiples of step.
struct PlotFrame {
  double xLow = 0, xHigh = 0, yLow = 0, yHigh = 0;
  double step = 0;
  double unitsPerPixel = 0;
};
PlotFrame FrameEqualScale(const std::vector<PlotPoint>& points, double width, double height);

// "PCo2 (12.5 %)"
std::string AxisTitle(std::size_t axis, double percentage);

}  // namespace vorn
