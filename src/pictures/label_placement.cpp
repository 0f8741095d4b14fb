#include "pictures/label_placement.h"

#include <algorithm>

namespace vorn {

std::vector<std::optional<Box>> PlaceLabels(const std::vector<LabelPoint>& points, double gap, const Box& area) {
  std::vector<Box> markers;
  markers.reserve(points.size());
  for (const auto& p : points) markers.push_back({p.x - gap / 2, p.y - gap / 2, gap, gap});
  const auto inside = [&area](const Box& box) {
    return box.left >= area.left && box.top >= area.top && box.left + box.width <= area.left + area.width &&
           box.top + box.height <= area.top + area.height;
  };
  std::vector<Box> placed;
  std::vector<std::optional<Box>> boxes;
  boxes.reserve(points.size());
  for (const auto& p : points) {
    const Box candidates[] = {
        {p.x + gap, p.y - p.height / 2, p.width, p.height},
        {p.x - gap - p.width, p.y - p.height / 2, p.width, p.height},
        {p.x - p.width / 2, p.y - gap - p.height, p.width, p.height},
        {p.x - p.width / 2, p.y + gap, p.width, p.height},
    };
    const auto free = std::find_if(std::begin(candidates), std::end(candidates), [&](const Box& box) {
      return inside(box) && std::none_of(placed.begin(), placed.end(), [&](const Box& b) { return b.Overlaps(box); }) &&
             std::none_of(markers.begin(), markers.end(), [&](const Box& b) { return b.Overlaps(box); });
    });
    if (free == std::end(candidates)) {
      boxes.emplace_back();
      continue;
    }
    placed.push_back(*free);
    boxes.emplace_back(*free);
  }
  return boxes;
}

}  // namespace vorn
