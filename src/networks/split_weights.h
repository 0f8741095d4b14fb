// The weights of the circular splits of an order that fit the pair distances best in least
// squares with no weight below zero: min ||A x - d||^2, x >= 0 (A as in circular_splits.h). The
// exact weights are the answer when none of them is negative. Otherwise the active-set method of
// Lawson & Hanson (1974, Solving Least Squares Problems, ch. 23), from every split held at zero:
// at a feasible point the held splits whose gradients fall most steeply are freed (of the
// splits next to each other the steepest alone, a twentieth of the free count at a time, at
// least one), the least squares of the free splits is solved (their normal equations by the
// Cholesky factor of free_split_factor.h), and a solution with negative weights is left for the
// point where the segment to it leaves the feasible region, the splits met there held again. It
// ends when no held split's gradient falls (the Kuhn-Tucker conditions, to 1e-13 of the largest
// entry of A^T d, checked in Real); the gradient takes one A x and one A^T y. A split freed alone
// that comes back at zero at once is not freed again until the next step; of several freed
// together that all come back at zero, the steepest is tried alone next.
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

#include "core/conventions.h"
#include "core/result.h"

namespace vorn {

struct SplitWeights {
  std::vector<Real> weights;  // per split, at StrictPairIndex(j, i); exactly 0 for the held ones
  Real residual = 0;          // sum over pairs of (d - fitted)^2
  Real fit = 100;             // 100 (1 - residual / sum d^2), the least-squares fit index in percent
};

// The pair distances are those of the positions of the order, at StrictPairIndex(b, a), a < b.
// Fails (naming the counts) if the method has not ended in its bound of steps, or when onRound,
// told the number of each round of the active-set method before it starts, answers false.
Result<SplitWeights> FitSplitWeights(std::size_t n, const std::vector<Real>& pairDistances,
                                     const std::function<bool(std::size_t round)>& onRound = {});

}  // namespace vorn
