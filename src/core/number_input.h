// Reading numbers typed into dialog fields. A number is an optional sign, digits with an
// optional "." (the separator is always "."), and an optional exponent, with blanks around it
// allowed; anything else (including "inf" and "nan") is not a number.
#pragma once

#include <optional>
#include <string_view>

#include "core/conventions.h"

namespace vorn {

std::optional<Real> ParseReal(std::string_view text);

// A percentage typed by the user as the fraction it stands for ("18" -> 0.18), rounded once to
// the nearest double, so that a threshold typed as a percentage equals the share count/total
// computed in doubles whenever the two are the same number.
std::optional<double> ParsePercentAsFraction(std::string_view text);

}  // namespace vorn
