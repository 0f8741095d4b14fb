// The regularized incomplete beta function I_x(a, b) in extended precision, by the long-double
// method of the Cephes library: a power series when b x <= 1 and x <= 0.95, otherwise (after
// exchanging a and b and using 1 - x when x lies above the mean a / (a + b)) one of two
// continued fractions, the first when x (a + b - 2) - (a - 1) < 0 and x <= 0.95, times the factor
// x^a (1 - x)^b Γ(a + b) / (a Γ(a) Γ(b)). The factor is computed directly while the gamma
// functions and powers stay in range, otherwise through logarithms.
//
// Failures are reported with the maths error code shared by the numerical routines: 0 when no
// error occurred, kMathsDomainError for arguments outside the domain.
#pragma once

#include <cstdint>

#include "core/conventions.h"

namespace vorn {

inline constexpr int kMathsDomainError = -1;

inline constexpr Real kMachineEpsilon = 1.08420217248550443401e-19L;  // 2^-63
inline constexpr Real kMaxLog = 11356.523406294143949491931077970765L;
inline constexpr Real kMinLog = -11355.137111933024058873096613727848L;

// How a value was computed, so that tests can hold each branch to its points.
enum class BetaPath : std::uint8_t { Edge, Series, FirstFraction, SecondFraction };

struct IncompleteBetaValue {
  Real value = 0;
  int error = 0;
  BetaPath path = BetaPath::Edge;
  bool swapped = false;      // computed as 1 - I_(1-x)(b, a)
  bool logarithmic = false;  // the factor went through logarithms
};

// I_x(a, b). a <= 0, b <= 0 or x < 0 give 0 and x > 1 gives 1, each with kMathsDomainError;
// x = 0 and x = 1 give x.
IncompleteBetaValue IncompleteBeta(Real a, Real b, Real x);

// x and 1 - x as the caller knows them, each possibly with a low part (the value is high + low)
// when it is a quotient that extended precision rounds, as x = ν / (ν + t^2) of the t
// distribution. The powers x^a and (1 - x)^b, whose relative error is a (or b) times that of
// their base, take the low parts into account; 1 - x keeps the digits that 1 - high would lose.
struct BetaArgument {
  Real x = 0;
  Real complement = 1;  // 1 - x
  Real xLow = 0;
  Real complementLow = 0;
};

// The same for an argument given with its complement.
IncompleteBetaValue IncompleteBeta(Real a, Real b, const BetaArgument& argument);

}  // namespace vorn
