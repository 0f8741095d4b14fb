// Round numbers for scale bars and axis ticks: 1, 2 or 5 times a power of ten.
#pragma once

#include <string>

namespace vorn {

// The largest round number not above limit (limit > 0); 0 for a limit that is not positive.
double RoundStepBelow(double limit);

// Text of a multiple of step with as many decimals as step needs ("0.05", "-0.1", "20").
std::string StepText(double value, double step);

}  // namespace vorn
