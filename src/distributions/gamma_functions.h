// The gamma function and its logarithm in extended precision, for positive arguments, and the
// logarithm of the inverse beta function ln(Γ(a+b) / (Γ(a) Γ(b))) without the cancellation of
// three large log-gammas. Above 13 the argument goes into Stirling's series (ten Bernoulli
// terms, truncation below 1e-21); below, the recurrence Γ(x) = Γ(x + n) / (x (x+1) ... (x+n-1))
// carries it there. Γ overflows the extended range above 1755.455 (MAXGAM).
#pragma once

#include "core/conventions.h"

namespace vorn {

inline constexpr Real kMaxGamma = 1755.455L;

// Γ(x) for 0 < x < kMaxGamma.
Real Gamma(Real x);

// ln Γ(x) for x > 0.
Real LogGamma(Real x);

// ln(Γ(a + b) / (Γ(a) Γ(b))) for a, b > 0, accurate to a few units of the last place of the
// result even when the three log-gammas are near 1e6 and cancel.
Real LogInverseBeta(Real a, Real b);

}  // namespace vorn
