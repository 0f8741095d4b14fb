// The Cholesky factor L of the normal equations of the free splits of an active-set least
// squares (split_weights.h), A_F^T A_F = L L^T, kept from step to step: a row more when a split
// is freed, a plane rotation per column when one is held again. Entries of A^T A count the pairs
// that two splits both separate. L is held by columns, each one block of memory from the
// diagonal down, so that every step runs down whole columns (factor_kernels.h); it is held in
// doubles, half the memory of Real to stream through, since the solution that counts is refined
// in Real (Refine). The forward solution L^-1 A_F^T d is kept with it.
#pragma once

#include <cstddef>
#include <vector>

#include "core/conventions.h"

namespace vorn {

class FreeSplitFactor {
 public:
  // Splits of n positions on the circle, split (i, j) at StrictPairIndex(j, i) (circular_splits.h);
  // right is A^T d of every split.
  FreeSplitFactor(std::size_t n, const std::vector<Real>& right);

  // Frees the splits (held before), in their order: they become the last rows of L. Their rows
  // are solved against the columns of L together, each block of columns read once for all.
  void Free(const std::vector<std::size_t>& splits);
  // Holds the free splits at the rows of L marked in hold.
  void HoldPositions(const std::vector<char>& hold);

  // The free splits, in the order of L's rows; the weights below follow it.
  const std::vector<std::size_t>& FreeSplits() const { return free_; }
  std::size_t FreeCount() const { return free_.size(); }

  // The least squares of the free splits, every held one at 0: L^-T of the kept forward solution.
  std::vector<Real> Solve() const;
  // The free splits' weights of x one step of iterative refinement nearer to their least
  // squares, in Real: x_F + (A_F^T A_F)^-1 g_F, where g = A^T (d - A x) of every split.
  std::vector<Real> Refined(const std::vector<Real>& x, const std::vector<Real>& g) const;

 private:
  // The pairs that splits s and t both separate.
  double Both(std::size_t s, std::size_t t) const;
  // Holds the free split at position r of L.
  void Hold(std::size_t r);
  // Solves L z = b for each b in place, over the first columns of L (as many as each b holds).
  void Forward(std::vector<std::vector<double>>& bs) const;
  // Solves L^T z = b in place.
  void Backward(std::vector<double>& b) const;

  std::size_t n_;
  const std::vector<Real>& right_;
  std::vector<std::size_t> first_, last_;      // each split's places
  std::vector<std::size_t> free_;              // the free splits, in the order of L's rows
  std::vector<std::vector<double>> columns_;   // column c of L: rows c .. free_.size() - 1
  std::vector<double> forward_;                // L^-1 A_F^T d
};

}  // namespace vorn
