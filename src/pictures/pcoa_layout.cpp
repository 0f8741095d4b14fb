#include "pictures/pcoa_layout.h"

#include <algorithm>
#include <cstdio>

#include "pictures/plot_scale.h"

namespace vorn {

std::string AxisTitle(std::size_t axis, double percentage) {
  char text[64];
  std::snprintf(text, sizeof text, "PCo%zu (%.1f %%)", axis, percentage);
  return text;
}

Result<PcoaLayout> LayOutPcoa(const Ordination& result, std::size_t xAxis, std::size_t yAxis,
                              const GroupColouring& colouring) {
  const std::size_t axes = result.AxisCount();
  for (std::size_t axis : {xAxis, yAxis}) {
    if (axis < 1 || axis > axes) {
      return Failure{"The principal coordinate analysis has " + std::to_string(axes) + " axes with a positive " +
                     "eigenvalue; axis " + std::to_string(axis) + " is not one of them."};
    }
  }
  PcoaLayout layout;
  layout.xTitle = AxisTitle(xAxis, static_cast<double>(result.percentages[xAxis - 1]));
  layout.yTitle = AxisTitle(yAxis, static_cast<double>(result.percentages[yAxis - 1]));
  layout.matrixName = result.matrixName;
  const std::size_t n = axes == 0 ? 0 : result.coordinates.size() / axes;
  for (std::size_t i = 0; i < n; ++i) {
    std::string label = i < result.labels.Count() ? result.labels[i] : "OTU" + std::to_string(i + 1);
    const int group = colouring.GroupOf(label);
    layout.points.push_back({static_cast<double>(result.Coordinate(i, xAxis - 1)),
                             static_cast<double>(result.Coordinate(i, yAxis - 1)), std::move(label), group});
  }
  return layout;
}

PlotFrame FrameEqualScale(const std::vector<PlotPoint>& points, double width, double height) {
  PlotFrame frame{-1, 1, -1, 1, 0, 0};
  if (!points.empty()) {
    const auto [xMin, xMax] = std::minmax_element(points.begin(), points.end(),
                                                  [](const PlotPoint& a, const PlotPoint& b) { return a.x < b.x; });
    const auto [yMin, yMax] = std::minmax_element(points.begin(), points.end(),
                                                  [](const PlotPoint& a, const PlotPoint& b) { return a.y < b.y; });
    frame = {xMin->x, xMax->x, yMin->y, yMax->y, 0, 0};
  }
  // A margin of 8 % of the larger spread on every side; a single point gets a unit square.
  double spread = std::max(frame.xHigh - frame.xLow, frame.yHigh - frame.yLow);
  if (!(spread > 0)) spread = 1;
  const double margin = 0.08 * spread;
  frame.xLow -= margin, frame.xHigh += margin, frame.yLow -= margin, frame.yHigh += margin;
  frame.unitsPerPixel = std::max((frame.xHigh - frame.xLow) / width, (frame.yHigh - frame.yLow) / height);
  const auto widen = [](double& low, double& high, double span) {
    const double centre = (low + high) / 2;
    low = centre - span / 2;
    high = centre + span / 2;
  };
  widen(frame.xLow, frame.xHigh, frame.unitsPerPixel * width);
  widen(frame.yLow, frame.yHigh, frame.unitsPerPixel * height);
  // Ticks about every 80 pixels.
  frame.step = RoundStepBelow(frame.unitsPerPixel * 80);
  return frame;
}

}  // namespace vorn
