// Support values at inner nodes (bootstrap and consensus percentages) drawn in the colour of
// their class: 95 % or more, 70 % or more, 50 % or more, below; three colour-blind-safe colours
// of the group palette and a grey, so that the classes also stay apart in greyscale print.
#pragma once

#include <optional>
#include <string_view>

#include "pictures/group_colours.h"

namespace vorn {

// The percentage an inner node's label states: a whole number from 0 to 100, nothing otherwise
// (an R label, a tree label).
std::optional<unsigned> SupportPercent(std::string_view label);

Rgb SupportColour(unsigned percent);

}  // namespace vorn
