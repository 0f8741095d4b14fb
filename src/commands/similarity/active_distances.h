// The active matrix as the distances between the working individuals, under the current
// transformation, as a strict lower triangle ((i, j), i > j, at i (i - 1) / 2 + j): what the
// commands that correlate distances take. Refused with a box when there is no active matrix or
// a pair has no distance.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "commands/shell/main_program.h"

namespace vorn {

// consequence ends the refusal of a pair without a distance: "the matrix cannot be correlated".
std::optional<std::vector<Real>> ActiveDistancePairs(TMainPrg& app, const std::string& consequence);

}  // namespace vorn
