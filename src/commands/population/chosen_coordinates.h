// The coordinates a command that relates genetic to geographic distances takes: those of a file
// named in its dialog, else those imported with the data; and the geographic distances between
// the working individuals (Euclidean on x / y, great-circle km on latitude / longitude).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "commands/shell/main_program.h"
#include "core/coordinates.h"

namespace vorn {

// coordinatesFile "" takes the imported ones. Nothing after a message when there are none or the
// file is refused.
std::optional<IndividualCoordinates> ChosenCoordinates(TMainPrg& app, const std::string& coordinatesFile);

// "the coordinates imported with the data", "the coordinates file places.csv".
std::string CoordinatesSource(const std::string& coordinatesFile);

// The distances between every two working individuals, strict lower triangle, each as
// ln(1 + d) when logarithm is set; nothing after a message naming the individuals without
// coordinates.
std::optional<std::vector<Real>> IndividualGeographicDistances(TMainPrg& app, const IndividualCoordinates& coordinates,
                                                               bool logarithm);

}  // namespace vorn
