// The colour (and, in scatter plots, the marker shape) of every label: the group it belongs to at
// one level of the group hierarchy (level 1 = the groups just below AllData, level 2 their
// sub-groups). Level 0, or a label in no group of that level, gets the neutral colour.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "core/group_lists.h"

namespace vorn {

struct Rgb {
  std::uint8_t red = 0, green = 0, blue = 0;
  bool operator==(const Rgb&) const = default;
};

enum class MarkerShape { Circle, Square, TriangleUp, Diamond, TriangleDown };

class GroupColouring {
 public:
  GroupColouring() = default;
  // The groups of depth level + 1 in list order; a label belongs to the first that lists it.
  GroupColouring(const GroupList& groups, std::size_t level);

  // Index into Names(), or -1 for a label in no group.
  int GroupOf(std::string_view label) const;
  // The legend's entries, in list order: the paths below AllData ("Karst", "Karst/Uphill").
  const std::vector<std::string>& Names() const { return names_; }

 private:
  std::vector<std::string> names_;
  std::map<std::string, int, std::less<>> groupOf_;
};

// Colours that stay apart for colour-blind readers and in greyscale print; they repeat after
// the eighth group, while the shapes repeat after the fifth, so 40 groups differ in one or both.
Rgb GroupColour(int group);
MarkerShape GroupShape(int group);
// "#0072b2"
std::string HexColour(Rgb colour);

}  // namespace vorn
