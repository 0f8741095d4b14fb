// Student's t distribution, two-sided: P(|T| >= t) = I_x(ν/2, 1/2) with x = ν / (ν + t^2).
#pragma once

#include <string>

#include "core/conventions.h"

namespace vorn {

struct MathsValue {
  Real value = 0;
  int error = 0;  // the maths error code: 0, or kMathsDomainError
};

// P(|T| >= t) for ν degrees of freedom; ν < 1 gives 0 with kMathsDomainError. x and 1 - x are
// each computed from t^2 and ν with the parts their quotients round off, because the tail's
// relative error is about ν/2 times that of x: a rounded x alone would cost 1e-15 at ν = 1e5.
MathsValue StudentTwoSided(Real degreesOfFreedom, Real t);

// The error box of the t-tests for a maths error code other than 0.
inline std::string MathsErrorText(int code) {
  return "Maths error in t-distribution. Error code: " + std::to_string(code);
}

}  // namespace vorn
