// The Newton step of one block of the admixture fit: the step d that maximises the quadratic
// model g'd + d'Hd/2 of ln L around x, with lower <= x_j + d_j <= upper and, on the simplex,
// sum_j d_j = 0. H is the Hessian, negative semi-definite; its diagonal is made larger in
// magnitude by a relative 1e-10 (and at least 1e-12) so that the model has one maximum.
//
// A primal active-set method (Nocedal & Wright 2006, algorithm 16.3) from d = 0: each pass solves
// the model with the coordinates of the working set held at their bounds, moves towards that
// solution as far as the bounds allow (a blocking bound joins the set), and at a solution inside
// the bounds drops the bound whose multiplier has the wrong sign, until none has.
#pragma once

#include <cstddef>
#include <vector>

namespace vorn {

struct NewtonBox {
  double lower = 0;
  double upper = 0;
  bool simplex = false;  // the coordinates sum to 1 and keep their sum
};

// Solves m y = b for y (into b; m is n x n, row-major, overwritten) by Gaussian elimination with
// partial pivoting; false when m is singular.
bool SolveLinear(std::size_t n, std::vector<double>& m, std::vector<double>& b);

// The step (k values) from x; the gain the quadratic model predicts for it is returned.
double ConstrainedNewtonStep(std::size_t k, const double* x, const double* gradient, const double* hessian,
                             const NewtonBox& box, double* step);

}  // namespace vorn
