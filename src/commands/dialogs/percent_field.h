// The text of a two-digit percentage field for a stored fraction: the integer part of the
// percentage as written with nine decimals, so that a fraction stored from a whole percentage
// shows that percentage again (100 * 0.29 is 28.999999999999996 in doubles).
#pragma once

#include <string>

#include "core/number_format.h"

namespace vorn {

inline std::string WholePercentText(double fraction) {
  const std::string percent = FormatReal(100.0L * fraction);
  return percent.substr(0, percent.find('.'));
}

}  // namespace vorn
