#include "pictures/group_colours.h"

#include <array>
#include <cstdio>

#include "groups/group_model.h"
#include "trees/newick_writer.h"

namespace vorn {

GroupColouring::GroupColouring(const GroupList& groups, std::size_t level) {
  if (level == 0) return;
  for (std::size_t i = 1; i < groups.size(); ++i) {
    if (GroupDepth(groups, i) != level + 1) continue;
    const int index = static_cast<int>(names_.size());
    const std::string& path = groups[i].name;
    const auto slash = path.find('/');
    names_.push_back(slash == std::string::npos ? path : path.substr(slash + 1));
    for (const auto& member : groups[i].members) {
      // Trees carry the name as the Newick writer wrote it, with blanks made "_".
      groupOf_.emplace(member, index);
      groupOf_.emplace(NewickName(member), index);
    }
  }
}

int GroupColouring::GroupOf(std::string_view label) const {
  const auto found = groupOf_.find(label);
  return found == groupOf_.end() ? -1 : found->second;
}

Rgb GroupColour(int group) {
  static constexpr std::array<Rgb, 8> kPalette{{
      {0x00, 0x72, 0xb2},  // blue
      {0xd5, 0x5e, 0x00},  // vermilion
      {0x00, 0x9e, 0x73},  // bluish green
      {0xcc, 0x79, 0xa7},  // reddish purple
      {0xe6, 0x9f, 0x00},  // orange
      {0x56, 0xb4, 0xe9},  // sky blue
      {0x88, 0x22, 0x55},  // wine
      {0x99, 0x99, 0x33},  // olive
  }};
  if (group < 0) return {0x30, 0x30, 0x30};
  return kPalette[static_cast<std::size_t>(group) % kPalette.size()];
}

MarkerShape GroupShape(int group) {
  if (group < 0) return MarkerShape::Circle;
  return static_cast<MarkerShape>(group % 5);
}

std::string HexColour(Rgb colour) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", colour.red, colour.green, colour.blue);
  return text;
}

}  // namespace vorn
