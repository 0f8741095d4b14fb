// Places the label of every point of a scatter plot beside its point, so that labels cover
// neither each other nor other points: each label takes the first free place of right, left,
// above and below its point; with none free it is left out (the plot's hover still names it).
#pragma once

#include <optional>
#include <vector>

namespace vorn {

struct Box {
  double left = 0, top = 0, width = 0, height = 0;

  bool Overlaps(const Box& other) const {
    return left < other.left + other.width && other.left < left + width && top < other.top + other.height &&
           other.top < top + height;
  }
};

struct LabelPoint {
  double x = 0, y = 0;           // the point's centre, in pixels
  double width = 0, height = 0;  // its label's size
};

// One box per point, in the order given (nothing for a label left out); gap: pixels between a
// point's centre and its label.
std::vector<std::optional<Box>> PlaceLabels(const std::vector<LabelPoint>& points, double gap, const Box& area);

}  // namespace vorn
