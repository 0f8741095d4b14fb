#include "pictures/plot_scale.h"

#include <cmath>
#include <cstdio>

namespace vorn {

double RoundStepBelow(double limit) {
  if (!(limit > 0) || !std::isfinite(limit)) return 0;
  const double power = std::pow(10.0, std::floor(std::log10(limit)));
  for (double factor : {5.0, 2.0, 1.0}) {
    if (factor * power <= limit * (1 + 1e-12)) return factor * power;
  }
  return power;
}

std::string StepText(double value, double step) {
  const int decimals = step > 0 ? std::max(0, static_cast<int>(std::ceil(-std::log10(step) - 1e-9))) : 0;
  if (std::fabs(value) < step * 1e-9) value = 0;  // no "-0"
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

}  // namespace vorn
